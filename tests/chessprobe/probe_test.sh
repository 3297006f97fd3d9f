#!/usr/bin/env bash
# The probe against the published perft counts and the commands of commands.txt, errors
# included. With "deep" as second argument it runs the deeper perft counts as well.
set -u -f
probe=$1
deep=${2:-}
here=$(dirname "$0")
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
done < "$here/perft.txt"
[ "${depth:-0}" -gt 0 ] || fail "no perft counts read"

# Each command's output; a failing one prints one line on stderr and nothing on stdout.
err=$(mktemp)
trap 'rm -f "$err"' EXIT
rows=0
while IFS='|' read -r status expected args; do
    case $status in '#'* | '') continue ;; esac
    IFS='|' read -ra words <<< "$args"
    words=("${words[@]# }")
    out=$("$probe" "${words[@]% }" 2> "$err")
    got=$?
    expected=$(echo $expected)
    [ $got -eq $status ] && [[ $(echo $out) == $expected ]] &&
        { [ $got -eq 0 ] || [ "$(grep -c . "$err")" = 1 ]; } ||
        fail "'$args' ended with $got, printed '$(echo $out)' and said: $(cat "$err")"
    rows=$((rows + 1))
done < "$here/commands.txt"
[ $rows = 20 ] || fail "$rows commands read"

[ $failures -eq 0 ] && echo "probe checks passed"
exit $failures
