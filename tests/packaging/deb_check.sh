#!/usr/bin/env bash
# Checks a built package: lintian finds no error or warning, it holds the files of layout.txt,
# and the game unpacked from it starts from its launcher and ends by the window's close button
# with status 0. Needs a display. Usage: deb_check.sh <package .deb>
set -u
deb=$1
here=$(cd "$(dirname "$0")" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
. "$here/../game/game.sh"
export LC_ALL=C.UTF-8

lintian --fail-on error,warning "$deb" || fail "lintian"

diff <(grep -v '^#' "$here/layout.txt" | sed 's/ package$//' | sort) \
     <(dpkg-deb -c "$deb" | awk '/^[-l]/ {print $6}' | sed -e 's|^\./||' -e 's|\.gz$||' | sort) \
    || fail "the package's files (>) differ from the layout (<)"

dpkg-deb -x "$deb" "$root"
"$here/launch.sh" "$root/usr/games/kavrin-chess" || fail "the unpacked game"

[ $failures -eq 0 ] && echo "package passed: $(basename "$deb")"
exit $failures
