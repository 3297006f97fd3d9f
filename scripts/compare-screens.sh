#!/usr/bin/env bash
# Plays the same scripted session with two builds of the game, animations off, and compares
# the screenshot taken after every key and click pixel for pixel: the menu in every option,
# a game of two people with a capture, check, both castlings and en passant, an English fool's
# mate, and the computer's answers to a person, with the camera turning and fixed. (Two
# computers never wait, so what they show at an instant depends on the machine's speed.)
#   scripts/compare-screens.sh OLD_GAME NEW_GAME [OUT]
# Each game reads the data folder beside it (data/); screenshots go to OUT/old and OUT/new
# (default: a fresh folder under /tmp). Prints one line per differing screen and the count of
# screens compared; exits 1 when any screen differs. Needs xvfb-run, xdotool and ImageMagick.
set -u
here=$(cd "$(dirname "$0")" && pwd)
squares=$here/../tests/game/squares.py

# One session of one build, inside a virtual display: session GAME SHOTS
session() {
    local game=$1 shots=$2 work n=0 pid id
    work=$(mktemp -d)
    cp "$(dirname "$game")"/data/* "$work"/
    cd "$work" || exit 1
    source "$here/../tests/game/game.sh"
    start_game "$game"
    shot() { n=$((n + 1)); import -window root "$shots/$(printf %02d $n)-$1.png"; }
    key() { xdotool key --window "$id" "$1"; sleep "${2:-0.5}"; shot "key-$1"; }
    click() {
        read -r x y < <(python3 "$squares" "$1" "$2")
        xdotool mousemove --window "$id" "$x" "$y" click 1
        sleep 0.5
        shot "click-$1"
    }
    move() { click "$1" "$3"; click "$2" "$3"; }

    sleep 2
    xdotool key --window "$id" space
    sleep 14 # the menu follows the splash at 15 s
    shot menu
    key a; key h; key h; key h; key o; key o; key l; key l
    key s
    move e2 e4 white; move d7 d5 black; move e4 d5 white; move d8 d5 black
    move b1 c3 white; move d5 e5 black; move f1 e2 white; move c8 g4 black
    move g1 f3 white; move b8 c6 black; move e1 g1 white; move e8 c8 black
    move d2 d4 white; move e5 a5 black; move d4 d5 white; move e7 e5 black
    move d5 e6 white
    key F1; key l; key s
    move f2 f3 white; move e7 e5 black; move g2 g4 white; move d8 h4 black
    key h; key s 1
    move e2 e4 white
    sleep 3
    shot answer
    key F1; key o; key s 1
    for step in "d2 d4" "a2 a3" "h2 h3" "g1 f3"; do
        read -r from to <<<"$step"
        move "$from" "$to" white
        sleep 3
        shot "answer-to-$from$to"
    done
    kill $pid 2>/dev/null
    wait $pid 2>/dev/null
    rm -rf "$work"
}

if [ "${1:-}" = --session ]; then
    session "$2" "$3"
    exit 0
fi

old=$(realpath "$1") new=$(realpath "$2")
out=${3:-$(mktemp -d /tmp/compare-screens.XXXXXX)}
mkdir -p "$out/old" "$out/new"
for build in old new; do
    game=$old
    [ $build = new ] && game=$new
    # A virtual display that another program took at the same moment fails the start: retry.
    for _ in 1 2 3; do
        xvfb-run -a -n $((400 + RANDOM % 400)) -s "-screen 0 1024x768x24" "$0" --session "$game" "$out/$build" 2>/dev/null
        [ -n "$(ls "$out/$build")" ] && break
    done
done
compared=0 differing=0
for picture in "$out"/old/*.png; do
    name=$(basename "$picture")
    compared=$((compared + 1))
    if [ ! -f "$out/new/$name" ]; then
        echo "missing in the new build: $name"
        differing=$((differing + 1))
        continue
    fi
    pixels=$(compare -metric AE "$picture" "$out/new/$name" null: 2>&1)
    if [ "$pixels" != 0 ]; then
        echo "$name: $pixels pixels differ"
        differing=$((differing + 1))
    fi
done
echo "$compared screens compared, $differing differ ($out)"
[ $differing -eq 0 ]
