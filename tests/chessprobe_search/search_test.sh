#!/bin/sh
# Runs chessprobe choose and eval on a few positions and on wrong input.
probe="$1"
failures=0

fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# expect_last_line <expected> <args...>: status 0 and the last output line as given.
expect_last_line() {
    expected="$1"
    shift
    output=$("$probe" "$@" 2>/dev/null)
    status=$?
    last=$(printf '%s\n' "$output" | tail -n 1)
    [ "$status" -eq 0 ] || fail "$* exited with $status"
    [ "$last" = "$expected" ] || fail "$* printed '$last', expected '$expected'"
}

# expect_status <status> <args...>: that exit status, a message on stderr, nothing on stdout.
expect_status() {
    expected="$1"
    shift
    out=$("$probe" "$@" 2>/dev/null)
    status=$?
    err=$("$probe" "$@" 2>&1 >/dev/null)
    [ "$status" -eq "$expected" ] || fail "$* exited with $status, expected $expected"
    [ -z "$out" ] || fail "$* printed '$out' on stdout"
    [ -n "$err" ] || fail "$* printed no message"
}

start="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"

expect_last_line h5f7 choose "r1bqkb1r/pppp1ppp/2n2n2/4p2Q/2B1P3/8/PPPP1PPP/RNB1K1NR w KQkq - 4 4"
expect_last_line a2a1 choose "6k1/8/8/8/8/8/rr4PP/7K b - - 0 1"
expect_last_line b4b5 choose "8/8/8/8/1P6/6k1/r7/7K w - - 0 1"
expect_last_line 0000 choose "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1"
expect_last_line 0000 choose "R5k1/5ppp/8/8/8/8/8/6K1 b - - 0 1"
move=$("$probe" choose "$start" | tail -n 1)
printf '%s\n' "$move" | grep -Eq '^[a-h][1-8][a-h][1-8]$' || fail "choose start printed '$move'"

expect_last_line 500 eval "$start" 1
expect_last_line 500 eval "$start" +1
expect_last_line -500 eval "$start" -1
# The undefended queen gives check and the king's one move takes it: -450 + 7200 + 25.
expect_last_line 6775 eval "4k3/8/8/8/8/8/4q3/R3K3 w Q - 0 1" 1
expect_last_line -6775 eval "4k3/8/8/8/8/8/4q3/R3K3 w Q - 0 1" -1

expect_status 2 choose
expect_status 2 choose "$start" extra
expect_status 1 choose "not a position"
expect_status 1 choose ""
expect_status 2 eval "$start"
expect_status 2 eval "$start" 2
expect_status 2 eval "$start" 0
expect_status 2 eval "$start" white
expect_status 1 eval "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1" 1
expect_status 2 bench 0
expect_status 2 bench many

if [ "$failures" -ne 0 ]; then
    echo "$failures failures"
    exit 1
fi
echo "all probe search checks passed"
