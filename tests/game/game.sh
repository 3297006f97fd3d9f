# The shared steps of the scripts that run the game binary: starting it and waiting for its
# window, asking the window to close, and checking how the game ended. Sourced; it counts
# failures in $failures.
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
here_game=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# Starts "$@" in the background and sets $pid and $id, the id of its window, which must be
# captioned "Kavrin chess".
start_game() {
    "$@" 2>> stderr.txt & pid=$!
    for _ in $(seq 1 300); do
        id=$(xdotool search --pid $pid 2>/dev/null | head -n 1)
        [ -n "$id" ] && [ "$(xdotool getwindowname "$id")" = "Kavrin chess" ] && return 0
        sleep 0.1
    done
    fail "no window captioned 'Kavrin chess' appeared"
    kill $pid 2>/dev/null
    exit $failures
}

# Sends the window the close request of a window manager's close button.
close_game() { python3 "$here_game/close_window.py" "$id"; }

# Waits for the game to end after `what` and expects status 0.
ended() {
    for _ in $(seq 1 50); do kill -0 $pid 2>/dev/null || break; sleep 0.1; done
    kill -0 $pid 2>/dev/null && { kill $pid; fail "$1 did not end the game"; }
    wait $pid || fail "$1 ended with status $?"
}
