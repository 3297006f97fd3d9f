#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop expects there: the
# launcher, the binary, the data files the package holds, the menu entry and its icon. The
# installed launcher then starts the game from another directory (on the display the tests run
# under) and the window's close button ends it with status 0. Usage: install_test.sh <build directory>
set -u
build=$1
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
. "$here/game.sh"

cmake --install "$build" --prefix "$prefix" > /dev/null || { echo "FAIL: install"; exit 1; }

[ -x "$prefix/bin/kavrin-chess" ] || fail "no launcher in bin"
[ -x "$prefix/libexec/kavrin-chess/kavrin-chess" ] || fail "no game binary in libexec"
for f in $(sed -n 's|^usr/share/games/kavrin-chess/||p' "$here/../packaging/layout.txt"); do
    [ -s "$prefix/share/kavrin-chess/$f" ] || fail "no $f in the data directory"
done

entry=$prefix/share/applications/kavrin-chess.desktop
icon=$prefix/share/icons/hicolor/64x64/apps/kavrin-chess.png
for line in '[Desktop Entry]' Type=Application Exec=kavrin-chess Icon=kavrin-chess; do
    grep -qxF "$line" "$entry" 2> /dev/null || fail "the menu entry lacks $line"
done

# The icon: 64 x 64 with an alpha channel, transparent corners and an opaque middle row.
look=$(convert "$icon" -format \
    '%wx%h %[channels] %[fx:p{0,0}.a+p{63,0}.a+p{0,63}.a+p{63,63}.a]' info:)
middle=$(convert "$icon" -crop 48x1+8+32 -format '%[fx:minima.a]' info:)
[ "$look $middle" = "64x64 srgba 0 1" ] || fail "the icon is '$look $middle', not 64 x 64 RGBA"

"$here/../packaging/launch.sh" "$prefix/bin/kavrin-chess" || fail "the installed game"

[ $failures -eq 0 ] && echo "install passed"
exit $failures
