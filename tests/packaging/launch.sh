#!/usr/bin/env bash
# Starts an installed launcher from a scratch folder, waits for the game's window, lets the
# splash show its pictures (read from the data folder) and ends the game by the window's close
# button: the game must report nothing and end with status 0. Needs a display.
# Usage: launch.sh <launcher>
set -u
launcher=$1
. "$(cd "$(dirname "$0")" && pwd)/../game/game.sh"
scratch=$(mktemp -d)
pid=
trap 'kill $pid 2>/dev/null; rm -rf "$scratch"' EXIT
cd "$scratch"

start_game "$launcher"
sleep 4
[ -s stderr.txt ] && fail "the game reported: $(cat stderr.txt)"
close_game
ended "the close button"
exit $failures
