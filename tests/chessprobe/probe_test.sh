#!/usr/bin/env bash
# The probe against the published perft counts, its divide, moves, choose and eval output,
# and its errors.
# With "deep" as second argument it runs the deeper perft counts as well.
set -u
probe=$1
deep=${2:-}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

while IFS='|' read -r fen counts deeper; do
    fen=${fen% }
    case $fen in '#'* | '') continue ;; esac
    depth=0
    for expected in $counts ${deep:+$deeper}; do
        depth=$((depth + 1))
        got=$("$probe" perft "$fen" "$depth" | tail -n 1)
        [ "$got" = "$expected" ] || fail "perft $depth of $fen: $got, expected $expected"
    done
done < "$(dirname "$0")/perft.txt"
[ "${depth:-0}" -gt 0 ] || fail "no perft counts read"

# divide: one line per root move, promotions with their letter, the total last.
start="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
pawn="4k3/1P6/8/8/8/8/8/4K3 w - -"
out=$("$probe" divide "$pawn" 1)
expected="b7b8r: 1 b7b8n: 1 b7b8b: 1 b7b8q: 1 e1d2: 1 e1f2: 1 e1d1: 1 e1e2: 1 e1f1: 1 9"
[ "$(echo $out)" = "$expected" ] || fail "divide with a promotion: $out"
out=$("$probe" divide "$start" 2)
[ "$(echo "$out" | head -n 1)" = "a2a3: 20" ] || fail "divide starts with: $(echo "$out" | head -n 1)"
[ "$(echo "$out" | wc -l)" = 21 ] || fail "divide of the start has $(echo "$out" | wc -l) lines"

# moves: from-squares in index order (rank 8 first), each piece's destinations in order.
expected="a2a3 a2a4 b2b3 b2b4 c2c3 c2c4 d2d3 d2d4 e2e3 e2e4 f2f3 f2f4 g2g3 g2g4 h2h3 h2h4"
out=$("$probe" moves "$start")
[ "$out" = "$expected b1a3 b1c3 g1f3 g1h3" ] || fail "moves of the start: $out"
out=$("$probe" moves "$pawn")
[ "$out" = "b7b8 e1d2 e1f2 e1d1 e1e2 e1f1" ] || fail "moves with a promotion: $out"

# choose and eval: the move as text ("0000" for none) and the score for the colour given.
last() { "$probe" "$@" 2> /dev/null | tail -n 1; }
last choose "$start" | grep -Eqx '[a-h][1-8][a-h][1-8]' || fail "choose start: $(last choose "$start")"
[ "$(last choose "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1")" = 0000 ] || fail "choose without a move"
[ "$(last eval "$start" 1)" = 500 ] || fail "eval for white: $(last eval "$start" 1)"
[ "$(last eval "$start" +1)" = 500 ] || fail "eval for +1: $(last eval "$start" +1)"
[ "$(last eval "$start" -1)" = -500 ] || fail "eval for black: $(last eval "$start" -1)"

# Errors: one line on stderr, nothing on stdout, status 2 for the command line and 1 for a
# position that cannot be read.
error() { # expected-status args...
    local status out err=/tmp/probe_err.$$
    out=$("$probe" "${@:2}" 2> $err); status=$?
    [ $status -eq "$1" ] && [ -z "$out" ] && [ "$(grep -c . $err)" = 1 ] ||
        fail "'${*:2}' ended with $status, printed '$out' and said: $(cat $err)"
    rm -f $err
}
error 1 perft "R6K/8/8/8/8/8/8/k6r w - - 0 1" 3
error 2 perft "$start" 0
error 2 perft "$start" x
error 2 divide "$start"
error 2 frobnicate
error 2 choose
error 1 choose "not a position"
error 2 eval "$start"
error 2 eval "$start" white
error 1 eval "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1" 1
error 2 bench 0

[ $failures -eq 0 ] && echo "probe checks passed"
exit $failures
