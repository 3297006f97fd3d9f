#!/usr/bin/env bash
# Runs the game binary: the start-up failures without a display and without its pictures,
# and its window's caption and size from chess.cfg, closed by the close button with status 0.
set -u
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$(dirname "$game")"/data/* "$work"/
cd "$work"
source "$(dirname "$0")/../game/game.sh"
printf '*SCREEN_WIDTH 800\n*SCREEN_HEIGHT 600\n' > chess.cfg

# Each failure gives status 1 and its message on stderr: one line for the video failure; the
# missing pictures are each named before the OpenGL failure's line.
env -u DISPLAY SDL_VIDEODRIVER=x11 "$game" 2> err.txt
status=$?
[ $status -eq 1 ] && grep -q '^Video initialization failed: ' err.txt && [ "$(wc -l < err.txt)" = 1 ] ||
    fail "without a display the status was $status and the message: $(cat err.txt)"
if [ -z "${DISPLAY:-}" ]; then
    echo "no display: window checks skipped"
    exit $failures
fi
mkdir bare && cp chess.cfg bare/
(cd bare && "$game" 2> err.txt)
status=$?
[ $status -eq 1 ] && grep -qx 'Could not initialize OpenGL.' bare/err.txt ||
    fail "without pictures the status was $status and the message: $(cat bare/err.txt)"

start_game "$game"
geometry=$(xwininfo -id "$id")
[[ $geometry == *"Width: 800"*"Height: 600"* ]] || fail "size: $geometry"
close_game
ended "the close request"
exit $failures
