#!/usr/bin/env bash
# Installs the build in Debian's layout for games into a scratch root and checks what the
# package will hold: the files against layout.txt, the launcher starting the game binary inside
# the data folder, the icons' sizes, the menu entry, the AppStream file and the manual page
# through their validators, and the package's version against the project's.
# Usage: package_test.sh <build directory> <source directory> <project version>
set -u
build=$1
source=$2
version=$3
here=$(cd "$(dirname "$0")" && pwd)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
. "$here/../game/game.sh"
export LC_ALL=C.UTF-8

DESTDIR=$root cmake -DKAVRIN_GAMES_LAYOUT=ON -DCMAKE_INSTALL_PREFIX=/usr \
    -P "$build/cmake_install.cmake" > /dev/null || { echo "FAIL: install"; exit 1; }

diff <(grep -v -e '^#' -e ' package$' "$here/layout.txt" | sort) \
     <(cd "$root" && find . -type f -o -type l | sed 's|^\./||' | sort) \
    || fail "the installed files (>) differ from the layout (<)"

# The launcher, reached through a link from another folder, must start the binary in the data
# folder with the arguments it was given.
printf '#!/bin/sh\necho "$(pwd -P) $*"\n' > "$root/usr/lib/games/kavrin-chess/kavrin-chess"
mkdir "$root/elsewhere"
ln -s ../usr/games/kavrin-chess "$root/elsewhere/kavrin-chess"
started=$(cd / && "$root/elsewhere/kavrin-chess" one two)
data=$(cd "$root/usr/share/games/kavrin-chess" && pwd -P)
[ "$started" = "$data one two" ] || fail "the launcher ran '$started', not the game in $data"

for icon in "$root"/usr/share/icons/hicolor/*/apps/kavrin-chess.png; do
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    size=$(identify -format '%wx%h' "$icon")
    [ "$size" = "$folder" ] || fail "the icon in $folder is $size"
done

desktop-file-validate "$root/usr/share/applications/kavrin-chess.desktop" \
    || fail "desktop-file-validate rejects the menu entry"
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml > "$root/appstream.txt" \
    || { fail "appstreamcli rejects the AppStream file"; cat "$root/appstream.txt"; }
warnings=$(MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$root/usr/share/man/man6/kavrin-chess.6" 2>&1 > /dev/null)
[ -z "$warnings" ] || fail "the manual page has warnings: $warnings"

changelog=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
[ "$changelog" = "$version" ] || fail "debian/changelog is at $changelog, the project at $version"

[ $failures -eq 0 ] && echo "packaging passed"
exit $failures
