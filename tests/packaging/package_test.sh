#!/usr/bin/env bash
# Installs the build both ways it installs and checks what the package and a desktop expect.
# In Debian's layout for games, into a scratch root: the files against layout.txt, the launcher
# starting the game binary inside the data folder, the icons' sizes and transparent corners, the
# menu entry, the AppStream file and the manual page through their validators, and the package's
# version against the project's. Under a plain prefix: the launcher, the binary and the data, and
# the installed launcher starting the game from another folder, ended by the window's close
# button with status 0 (this part needs a display).
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

# Each icon has the size its folder names, an alpha channel, transparent corners and an opaque
# middle row.
corners='%[fx:p{0,0}.a + p{w-1,0}.a + p{0,h-1}.a + p{w-1,h-1}.a]'
middle='%[fx:p{w/8,h/2}.a * p{w/2,h/2}.a * p{w*7/8,h/2}.a]'
for icon in "$root"/usr/share/icons/hicolor/*/apps/kavrin-chess.png; do
    folder=$(basename "$(dirname "$(dirname "$icon")")")
    look=$(convert "$icon" -format "%wx%h %[channels] $corners $middle" info:)
    [ "$look" = "$folder srgba 0 1" ] || fail "the icon in $folder is '$look'"
done

entry=$root/usr/share/applications/kavrin-chess.desktop
desktop-file-validate "$entry" || fail "desktop-file-validate rejects the menu entry"
for line in Exec=kavrin-chess Icon=kavrin-chess; do
    grep -qxF "$line" "$entry" || fail "the menu entry lacks $line"
done
appstreamcli validate --no-net "$root"/usr/share/metainfo/*.metainfo.xml > "$root/appstream.txt" \
    || { fail "appstreamcli rejects the AppStream file"; cat "$root/appstream.txt"; }
warnings=$(MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z \
    "$root/usr/share/man/man6/kavrin-chess.6" 2>&1 > /dev/null)
[ -z "$warnings" ] || fail "the manual page has warnings: $warnings"

changelog=$(dpkg-parsechangelog -l "$source/debian/changelog" -S Version)
[ "$changelog" = "$version" ] || fail "debian/changelog is at $changelog, the project at $version"

# The plain layout: the data under the prefix, and the game started from its launcher in bin,
# which runs the binary in libexec.
prefix=$root/prefix
cmake --install "$build" --prefix "$prefix" > /dev/null || fail "the install under a prefix"
for f in $(sed -n 's|^usr/share/games/kavrin-chess/||p' "$here/layout.txt"); do
    [ -s "$prefix/share/kavrin-chess/$f" ] || fail "no $f in the data folder"
done
"$here/launch.sh" "$prefix/bin/kavrin-chess" || fail "the installed game"

[ $failures -eq 0 ] && echo "packaging passed"
exit $failures
