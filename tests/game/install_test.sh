#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks what a desktop expects there: the
# launcher, the binary, the data, the menu entry and its icon. With a display, the installed
# launcher starts the game from another directory and the window's close button ends it with
# status 0. Usage: install_test.sh <build directory>
set -u
build=$1
here=$(cd "$(dirname "$0")" && pwd)
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
. "$here/game.sh"

cmake --install "$build" --prefix "$prefix" > /dev/null || { echo "FAIL: install"; exit 1; }

[ -x "$prefix/bin/kavrin-chess" ] || fail "no launcher in bin"
[ -x "$prefix/libexec/kavrin-chess/kavrin-chess" ] || fail "no game binary in libexec"
for f in chess.cfg king.ase queen.ase bishop.ase knight.ase rook.ase pawn.ase board.ase \
    Font.bmp Pole.bmp splash.jpg menu.jpg kavrin.jpg; do
    [ -s "$prefix/share/kavrin-chess/$f" ] || fail "no $f in the data directory"
done

entry=$prefix/share/applications/kavrin-chess.desktop
icon=$prefix/share/icons/hicolor/64x64/apps/kavrin-chess.png
[ -f "$entry" ] || fail "no menu entry"
for line in '[Desktop Entry]' Type=Application Exec=kavrin-chess Icon=kavrin-chess; do
    grep -qxF "$line" "$entry" 2> /dev/null || fail "the menu entry lacks $line"
done

# The icon, read by an independent decoder: every chunk's checksum, 64 x 64 RGBA, transparent
# corners, an opaque middle, and a piece on the tile (light gold on dark brown).
python3 - "$icon" << 'EOF' || fail "the icon is not a sound 64 x 64 RGBA picture"
import struct, sys, zlib
data = open(sys.argv[1], "rb").read()
assert data[:8] == b"\x89PNG\r\n\x1a\n", "signature"
pos, chunks = 8, {}
while pos < len(data):
    (length,) = struct.unpack(">I", data[pos:pos + 4])
    kind, body = data[pos + 4:pos + 8], data[pos + 8:pos + 8 + length]
    (crc,) = struct.unpack(">I", data[pos + 8 + length:pos + 12 + length])
    assert zlib.crc32(kind + body) == crc, "checksum of %s" % kind
    chunks[kind] = chunks.get(kind, b"") + body
    pos += 12 + length
width, height, depth, colour = struct.unpack(">IIBB", chunks[b"IHDR"][:10])
assert (width, height, depth, colour) == (64, 64, 8, 6), "header"
raw = zlib.decompress(chunks[b"IDAT"])
assert len(raw) == height * (1 + width * 4), "size"
assert all(raw[y * (1 + width * 4)] == 0 for y in range(height)), "filters"
def pixel(x, y):
    i = y * (1 + width * 4) + 1 + x * 4
    return raw[i:i + 4]
for x, y in ((0, 0), (63, 0), (0, 63), (63, 63)):
    assert pixel(x, y)[3] == 0, "corner"
assert all(pixel(x, 32)[3] == 255 for x in range(8, 56)), "middle"
light = sum(1 for y in range(64) for x in range(64) if sum(pixel(x, y)[:3]) > 450)
dark = sum(1 for y in range(64) for x in range(64) if pixel(x, y)[3] and sum(pixel(x, y)[:3]) < 150)
assert 400 < light < 2500 and dark > 1000, "piece %d, tile %d" % (light, dark)
EOF

if [ -z "${DISPLAY:-}" ]; then
    echo "no display: the installed game is not started"
else
    "$here/../packaging/launch.sh" "$prefix/bin/kavrin-chess" || fail "the installed game"
fi

[ $failures -eq 0 ] && echo "install passed"
exit $failures
