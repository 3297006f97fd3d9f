#!/usr/bin/env bash
# Runs the game binary: its window's caption and size, the start-up failure without a
# display, and the two normal ends (the window manager's close request, Esc) with status 0.
set -u
game=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
data=$(dirname "$game")/data
cp "$data"/* "$work"/
cd "$work"
printf '*SCREEN_WIDTH 800\n*SCREEN_HEIGHT 600\n' > chess.cfg
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Without a display the video set-up fails with status 1 and one line on stderr.
env -u DISPLAY SDL_VIDEODRIVER=x11 "$game" 2> err.txt
status=$?
[ $status -eq 1 ] || fail "without a display the status was $status"
grep -q '^Video initialization failed: ' err.txt || fail "message was: $(cat err.txt)"

if [ -z "${DISPLAY:-}" ]; then
    echo "no display: window checks skipped"
    exit $failures
fi

wait_window() {
    for _ in $(seq 1 100); do
        id=$(xdotool search --name '^Kavrin chess$' 2>/dev/null | head -n 1)
        [ -n "$id" ] && { echo "$id"; return 0; }
        sleep 0.1
    done
    return 1
}

# Closing the window as a window manager's close button does.
"$game" & pid=$!
if id=$(wait_window); then
    geometry=$(xwininfo -id "$id")
    echo "$geometry" | grep -q 'Width: 800' || fail "width: $geometry"
    echo "$geometry" | grep -q 'Height: 600' || fail "height: $geometry"
    python3 - "$id" <<'PY' || xdotool windowclose "$id" 2>/dev/null
import ctypes, sys
x = ctypes.cdll.LoadLibrary("libX11.so.6")
x.XOpenDisplay.restype = ctypes.c_void_p
d = ctypes.c_void_p(x.XOpenDisplay(None))
w = ctypes.c_ulong(int(sys.argv[1]))
proto = x.XInternAtom(d, b"WM_PROTOCOLS", 0)
delete = x.XInternAtom(d, b"WM_DELETE_WINDOW", 0)
class Ev(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("window", ctypes.c_ulong),
                ("message_type", ctypes.c_ulong), ("format", ctypes.c_int),
                ("data", ctypes.c_long * 5), ("pad", ctypes.c_long * 12)]
ev = Ev(type=33, window=w, message_type=proto, format=32)
ev.data[0] = delete
x.XSendEvent(d, w, 0, 0, ctypes.byref(ev))
x.XFlush(d)
PY
else
    fail "no window captioned 'Kavrin chess' appeared"
fi
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && { kill $pid; fail "close request did not end the game"; }
wait $pid; status=$?
[ $status -eq 0 ] || fail "close request ended with status $status"

# Esc ends it at once with status 0.
"$game" & pid=$!
if id=$(wait_window); then
    xdotool windowfocus --sync "$id" 2>/dev/null
    xdotool key --window "$id" Escape
    sleep 0.3
    xdotool windowactivate "$id" key Escape 2>/dev/null || xdotool key Escape
else
    fail "no window for the Esc check"
fi
for _ in $(seq 1 100); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
kill -0 $pid 2>/dev/null && { kill $pid; fail "Esc did not end the game"; }
wait $pid; status=$?
[ $status -eq 0 ] || fail "Esc ended with status $status"

# Without its pictures the OpenGL set-up reports failure with status 1.
mkdir bare && cp chess.cfg bare/
(cd bare && "$game" 2> err.txt; echo $? > status.txt)
[ "$(cat bare/status.txt)" = 1 ] || fail "without pictures the status was $(cat bare/status.txt)"
grep -qx 'Could not initialize OpenGL.' bare/err.txt || fail "message was: $(cat bare/err.txt)"

[ $failures -eq 0 ] && echo "window checks passed"
exit $failures
