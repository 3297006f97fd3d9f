#!/usr/bin/env bash
# Starts an installed launcher from the root folder, waits for the game's window, lets the
# splash show its pictures (read from the data folder) and ends the game by the window's close
# button: the game must report nothing and end with status 0. Needs a display.
# Usage: launch.sh <launcher>
set -u
launcher=$1
here=$(cd "$(dirname "$0")" && pwd)
log=$(mktemp)
pid=
trap 'kill $pid 2>/dev/null; rm -f "$log"' EXIT

cd /
"$launcher" 2> "$log" & pid=$!
id=
for _ in $(seq 1 300); do
    id=$(xdotool search --name '^Kavrin chess$' 2> /dev/null | head -n 1)
    [ -n "$id" ] && break
    kill -0 $pid 2> /dev/null || break
    sleep 0.1
done
if [ -z "$id" ]; then
    echo "FAIL: $launcher opened no window"
    cat "$log"
    exit 1
fi
sleep 4
if grep -q . "$log"; then
    echo "FAIL: the game reported:"
    cat "$log"
    exit 1
fi
python3 "$here/../game/close_window.py" "$id"
for _ in $(seq 1 50); do kill -0 $pid 2> /dev/null || break; sleep 0.1; done
if kill -0 $pid 2> /dev/null; then
    echo "FAIL: the close button did not end the game"
    exit 1
fi
wait $pid
status=$?
pid=
[ $status -eq 0 ] || { echo "FAIL: the close button ended the game with status $status"; exit 1; }
