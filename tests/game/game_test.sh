#!/usr/bin/env bash
# Plays whole games on the real binary with real pointer and key events: two people mate
# with f3 e5 g4 Qh4, a person gets the computer's answer to 1.e4, two computers play on with
# animations off, and Esc ends the game with status 0; a second game in progress is ended by
# the window's close button, with status 0 as well. Screenshots of every stage go to
# $SCREENSHOTS (default: screenshots/ in the working directory). The game's data comes from
# $GAME_DATA (default: data/ beside the binary).
set -u
game=$1
probe=$2
here=$(cd "$(dirname "$0")" && pwd)
shots=${SCREENSHOTS:-$PWD/screenshots}
mkdir -p "$shots"
work=$(mktemp -d)
trap 'kill $pid 2>/dev/null; rm -rf "$work"' EXIT
cp "${GAME_DATA:-$(dirname "$game")/data}"/* "$work"/
cd "$work"
if [ -n "${ASAN_LOG:-}" ]; then
    mkdir -p "$(dirname "$ASAN_LOG")"
    rm -f "$ASAN_LOG".*
fi
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

if [ -z "${DISPLAY:-}" ]; then
    echo "no display: whole games skipped"
    exit 0
fi

shot() { import -window root "$shots/$1.png"; }
key() { xdotool key --window "$id" "$1" 2>/dev/null; sleep "${2:-0.3}"; }
click() {
    read -r x y < <(python3 "$here/squares.py" "$1" "$2")
    xdotool mousemove --window "$id" "$x" "$y" click 1
    sleep "${3:-0.4}"
}
# Mean brightness (0..65535) of a 24 x 24 pixel patch round a square's centre.
patch() {
    read -r x y < <(python3 "$here/squares.py" "$2" "${3:-white}")
    convert "$shots/$1.png" -crop "24x24+$((x - 12))+$((y - 12))" -colorspace gray \
        -format '%[fx:int(65535*mean)]' info:
}
alive() { kill -0 $pid 2>/dev/null; }

# Starts the game and waits for its window.
start() {
    id=
    "$game" 2>> "$work/stderr.txt" & pid=$!
    for _ in $(seq 1 300); do
        id=$(xdotool search --name '^Kavrin chess$' 2>/dev/null | head -n 1)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "${id:-}" ] || { fail "no game window"; exit 1; }
}
# Waits for the game to end by itself and checks its exit status.
ended() {
    for _ in $(seq 1 50); do alive || break; sleep 0.1; done
    alive && fail "$1 did not end the game"
    wait $pid; status=$?
    [ $status -eq 0 ] || fail "$1 ended with status $status"
}

start

sleep 3
shot splash
key space 12.5 # any key loads the models; the menu follows at 15 s
shot menu
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
alive || fail "the game ended during the fool's mate"
[ "$(patch before-mate h4 white)" != "$(patch mate h4 white)" ] || fail "the queen did not reach h4"

# A key after the mate returns to the menu and acts there: H makes it person and computer.
key h 0.5
shot menu-after-game
key s 1
click e2 white; click e4 white 3
shot answer-to-e4
reply=$("$probe" choose "rnbqkbnr/pppppppp/8/8/4P3/8/PPPP1PPP/RNBQKBNR b KQkq e3 0 1" | tail -n 1)
from=${reply:0:2}
[ -n "$from" ] && [ "$(patch game-start "$from")" != "$(patch answer-to-e4 "$from")" ] \
    || fail "no answer $reply to 1.e4 on the screen"
alive || fail "the game ended while the computer answered"

# Two computers with animations off for a minute. S answers every promotion prompt (with a
# bishop) and starts the next game when one has ended, so game follows game; the memory
# the game holds must stay flat over all of them.
rss() { awk '/^VmRSS/ {print $2}' /proc/$pid/status; }
key F1
key h
key s 1
for second in $(seq 1 60); do
    alive || break
    [ "$second" = 20 ] && early=$(rss)
    xdotool key --window "$id" s 2>/dev/null
    sleep 1
done
shot computers
alive || fail "the games of two computers crashed"
late=$(rss)
echo "memory of two computers playing: ${early:-?} kB after 20 s, ${late:-?} kB after 60 s"
# AddressSanitizer holds freed memory in quarantine (up to 256 MB), so under it the resident
# size grows with every allocation the driver frees; there its leak report is the check.
if [ -z "${ASAN_LOG:-}" ]; then
    [ -n "${early:-}" ] && [ -n "$late" ] && [ $((late - early)) -lt 4096 ] \
        || fail "the memory grew from ${early:-?} kB to ${late:-?} kB"
fi

key Escape 0.5
ended Esc

# Once more, to a game in progress, ended by the window's close button.
start
sleep 3
key space 12.5
key s 1
click e2 white; click e4 white 1
shot before-close
python3 "$here/close_window.py" "$id"
ended "the close button"
[ -s "$work/stderr.txt" ] && { echo "stderr:"; cat "$work/stderr.txt"; }
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

[ $failures -eq 0 ] && echo "whole games passed"
exit $failures
