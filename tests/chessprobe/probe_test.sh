#!/usr/bin/env bash
# The probe's commands against commands.txt: the published perft counts, its other commands and
# its errors. With "deep" as second argument it runs the deeper perft counts as well.
set -u -f
probe=$1
deep=${2:-}
here=$(dirname "$0")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Each command's output; a failing one prints one line on stderr and nothing on stdout.
err=$(mktemp)
trap 'rm -f "$err"' EXIT
rows=0
while IFS='|' read -r status expected args; do
    case $status in '#'* | '') continue ;; deep*) [ -n "$deep" ] || continue; status=0 ;; esac
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
[ $rows -ge 40 ] || fail "$rows commands read"

[ $failures -eq 0 ] && echo "probe checks passed"
exit $failures
