#!/usr/bin/env bash
# The probe against the published perft counts, its divide, moves, choose and eval output,
# and its errors.
# With "deep" as second argument it runs the deepest counts as well.
set -u
probe=$1
deep=${2:-}
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

start="rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP/RNBQKBNR w KQkq - 0 1"
kiwipete="r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq -"
endgame="8/2p5/3p4/KP5r/1R3p1k/8/4P1P1/8 w - -"
promotions="r3k2r/Pppp1ppp/1b3nbN/nP6/BBP1P3/q4N2/Pp1P2PP/R2Q1RK1 w kq - 0 1"
checks="rnbq1k1r/pp1Pbppp/2p5/8/2B5/8/PPP1NnPP/RNBQK2R w KQ - 1 8"

perft() { # fen depth expected
    local got
    got=$("$probe" perft "$1" "$2" | tail -n 1)
    [ "$got" = "$3" ] || fail "perft $2 of $1: $got, expected $3"
}

perft "$start" 1 20; perft "$start" 2 400; perft "$start" 3 8902; perft "$start" 4 197281
perft "$kiwipete" 1 48; perft "$kiwipete" 2 2039; perft "$kiwipete" 3 97862
perft "$endgame" 1 14; perft "$endgame" 2 191; perft "$endgame" 3 2812; perft "$endgame" 4 43238
perft "$endgame" 5 674624
perft "$promotions" 1 6; perft "$promotions" 2 264; perft "$promotions" 3 9467
underpromotions="n1n5/PPPk4/8/8/8/8/4Kppp/5N1N b - - 0 1"
perft "$underpromotions" 1 24; perft "$underpromotions" 2 496; perft "$underpromotions" 3 9483
perft "$checks" 1 44; perft "$checks" 2 1486; perft "$checks" 3 62379
if [ "$deep" = deep ]; then
    perft "$start" 5 4865609
    perft "$kiwipete" 4 4085603
    perft "$endgame" 6 11030083
    perft "$promotions" 4 422333
    perft "$checks" 4 2103487
fi

# divide: one line per root move, promotions with their letter, the total last.
pawn="4k3/1P6/8/8/8/8/8/4K3 w - -"
out=$("$probe" divide "$pawn" 1)
[ "$(echo "$out" | tail -n 1)" = 9 ] || fail "divide total: $out"
echo "$out" | grep -qx 'b7b8r: 1' || fail "divide lacks b7b8r: $out"
echo "$out" | grep -qx 'b7b8q: 1' || fail "divide lacks b7b8q: $out"
echo "$out" | grep -qx 'b7b8n: 1' || fail "divide lacks b7b8n: $out"
out=$("$probe" divide "$start" 2)
[ "$(echo "$out" | head -n 1)" = "a2a3: 20" ] || fail "divide starts with: $(echo "$out" | head -n 1)"
[ "$(echo "$out" | wc -l)" = 21 ] || fail "divide of the start has $(echo "$out" | wc -l) lines"

# moves: from-squares in index order (rank 8 first), each piece's destinations in order.
out=$("$probe" moves "$start")
case "$out" in
    "a2a3 a2a4 b2b3 b2b4 "*" b1a3 b1c3 g1f3 g1h3") ;;
    *) fail "moves of the start: $out" ;;
esac
[ "$(echo "$out" | wc -w)" = 20 ] || fail "moves of the start: $out"
out=$("$probe" moves "$pawn")
[ "$out" = "b7b8 e1d2 e1f2 e1d1 e1e2 e1f1" ] || fail "moves with a promotion: $out"

# choose and eval: the move as text ("0000" for none) and the score for the colour given.
last() { "$probe" "$@" 2> /dev/null | tail -n 1; }
[ "$(last choose "$start")" = "$(last choose "$start")" ] || fail "choose differs between runs"
last choose "$start" | grep -Eqx '[a-h][1-8][a-h][1-8]' || fail "choose start: $(last choose "$start")"
[ "$(last choose "7k/5Q2/6K1/8/8/8/8/8 b - - 0 1")" = 0000 ] || fail "choose without a move"
[ "$(last eval "$start" 1)" = 500 ] || fail "eval for white: $(last eval "$start" 1)"
[ "$(last eval "$start" +1)" = 500 ] || fail "eval for +1: $(last eval "$start" +1)"
[ "$(last eval "$start" -1)" = -500 ] || fail "eval for black: $(last eval "$start" -1)"

# Errors: one line on stderr, nothing on stdout, status 2 for the command line and 1 for a
# position that cannot be read.
error() { # expected-status args...
    local status out err
    out=$("$probe" "${@:2}" 2> /tmp/probe_err.$$); status=$?
    err=$(cat /tmp/probe_err.$$); rm -f /tmp/probe_err.$$
    [ $status -eq "$1" ] || fail "'${*:2}' ended with $status"
    [ -z "$out" ] || fail "'${*:2}' printed: $out"
    [ "$(echo "$err" | wc -l)" = 1 ] && [ -n "$err" ] || fail "'${*:2}' said: $err"
}
error 2 perft "not a fen" 3
error 2 perft "$start" 0
error 2 perft "$start" x
error 2 perft "$start"
error 2 divide "$start" -1
error 2 moves "8/8/8/8/8/8/8/8 w - -"
error 2 frobnicate
error 2 choose
error 2 choose "$start" extra
error 1 choose "not a position"
error 1 choose ""
error 2 eval "$start"
error 2 eval "$start" 2
error 2 eval "$start" 0
error 2 eval "$start" white
error 1 eval "rnbqkbnr/pppppppp/8/8/8/8/PPPPPPPP w KQkq - 0 1" 1
error 2 bench 0
error 2 bench many

[ $failures -eq 0 ] && echo "probe checks passed"
exit $failures
