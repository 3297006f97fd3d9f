#!/usr/bin/env bash
# Plays a whole game on the real binary with real pointer and key events: two people mate with
# f3 e5 g4 Qh4, a person gets the computer's answer to 1.e4, two computers play a few seconds
# with animations off, and the window's close button ends the game with status 0. Screenshots
# of the stages it compares go to $SCREENSHOTS (default: screenshots/ in the working directory).
# The game's data comes from $GAME_DATA (default: data/ beside the binary).
set -u
game=$1
probe=$2
shots=${SCREENSHOTS:-$PWD/screenshots}
mkdir -p "$shots"
work=$(mktemp -d)
trap 'kill ${pid:-} 2>/dev/null; rm -rf "$work"' EXIT
cp "${GAME_DATA:-$(dirname "$game")/data}"/* "$work"/
source "$(dirname "$0")/game.sh"
cd "$work"
if [ -n "${ASAN_LOG:-}" ]; then
    mkdir -p "$(dirname "$ASAN_LOG")"
    rm -f "$ASAN_LOG".*
fi

shot() { import -window root "$shots/$1.png"; }
key() { xdotool key --window "$id" "$1" 2>/dev/null; sleep "${2:-0.3}"; }
click() {
    read -r x y < <(python3 "$here_game/squares.py" "$1" "$2")
    xdotool mousemove --window "$id" "$x" "$y" click 1
    sleep "${3:-0.4}"
}
# Mean brightness (0..65535) of a 24 x 24 pixel patch round a square's centre.
patch() {
    read -r x y < <(python3 "$here_game/squares.py" "$2" "${3:-white}")
    convert "$shots/$1.png" -crop "24x24+$((x - 12))+$((y - 12))" -colorspace gray \
        -format '%[fx:int(65535*mean)]' info:
}

start_game "$game"
sleep 3
key space 12.5 # any key loads the models; the menu follows at 15 s
key a # animations off

# Two people: fool's mate by clicks; the camera turns to Black between the moves.
key s 1
shot game-start
click f2 white; click f3 white 0.8
click e7 black; click e5 black 0.8
click g2 white; click g4 white 0.8
shot before-mate
click d8 black; click h4 black 1.5
shot mate
[ "$(patch before-mate h4 white)" != "$(patch mate h4 white)" ] || fail "the queen did not reach h4"
# The status line at the top left: empty before the mate, the green mate message after it.
message() {
    convert "$shots/$1.png" -crop 600x24+0+4 -channel G -separate -format '%[fx:int(255*maxima)]' info:
}
[ "$(message before-mate)" -lt 64 ] && [ "$(message mate)" -gt 128 ] \
    || fail "no mate message: $(message before-mate) before, $(message mate) after"

# A key after the mate returns to the menu and acts there: H makes it person and computer.
key h 0.5
key s 1
click e2 white; click e4 white 3
shot answer-to-e4
reply=$("$probe" choose "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1" | tail -n 1)
from=${reply:0:2}
[ -n "$from" ] && [ "$(patch game-start "$from")" != "$(patch answer-to-e4 "$from")" ] \
    || fail "no answer $reply to 1.e4 on the screen"

# Two computers with animations off: S answers every promotion prompt and starts the next game
# when one has ended. The in-process test of five hundred plies watches the memory.
key F1
key h
for _ in 1 2 3 4 5; do key s 0.5; done
kill -0 $pid 2>/dev/null || fail "the game ended during the games of two computers"

close_game
ended "the close button"
[ -s stderr.txt ] && { echo "stderr:"; cat stderr.txt; }
# Under AddressSanitizer (ASAN_LOG set): no error at all, and no leak allocated by our own
# code; leaks whose allocations come only from libraries (the OpenGL driver, which is unloaded
# before the report) are the driver's.
if [ -n "${ASAN_LOG:-}" ]; then
    for log in "$ASAN_LOG".*; do
        [ -f "$log" ] || continue
        grep -q 'ERROR: AddressSanitizer' "$log" && { fail "AddressSanitizer: $log"; cat "$log"; }
        ours=$(awk -v src="${KAVRIN_SOURCE:-/nonexistent}" '
            /^(Direct|Indirect) leak/ { block = $0; mine = 0; next }
            /^ *#[1-9]/ && block != "" && (index($0, src) || /kavrin-chess\+0x|chessprobe\+0x/) { mine = 1 }
            /^$/ { if (block != "" && mine) print block; block = "" }
            END { if (block != "" && mine) print block }' "$log")
        [ -z "$ours" ] || { fail "leaks of ours in $log: $ours"; cat "$log"; }
        grep -h '^SUMMARY' "$log"
    done
fi

[ $failures -eq 0 ] && echo "whole game passed"
exit $failures
