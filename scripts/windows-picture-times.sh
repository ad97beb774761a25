#!/usr/bin/env bash
# The Windows picture loader's time per format under 64-bit Wine, on an Xvfb
# of 1920x1080: a 3840x2160 GIF (256 colours, dithered), the same picture as
# BMP and JPEG, and a 3840x2160 metafile of 400 filled shapes, each decoded
# fitted to the screen and at its own size (bench/win32/picture_times.cpp).
# A benchmark, not a test: the figures depend on the machine.
#   usage: scripts/windows-picture-times.sh [build/windows-x64]
# (configured with -DORVEL_BENCHMARKS=ON and built: target orvel_picture_times)
set -euo pipefail
build=${1:-build/windows-x64}
program=$(realpath "$build/orvel_picture_times.exe")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
convert -size 3840x2160 plasma: -dither FloydSteinberg -colors 256 big.gif
convert big.gif big.bmp
convert big.gif -quality 90 big.jpg
python3 - <<'PY'
import random, struct
random.seed(1)
def record(function, *words):
    return struct.pack('<IH', 3 + len(words), function) + b''.join(
        struct.pack('<H', w & 0xFFFF) for w in words)
body = record(0x020B, 0, 0) + record(0x020C, 2160, 3840)
for _ in range(400):
    colour = random.randrange(1 << 24)
    x, y = random.randrange(3840), random.randrange(2160)
    w, h = random.randrange(50, 1500), random.randrange(50, 1000)
    body += record(0x02FC, 0, colour & 0xFFFF, colour >> 16, 0) + record(0x012D, 0)
    body += record(random.choice([0x0418, 0x041B]), y + h, x + w, y, x) + record(0x01F0, 0)
body += record(0)
words = 9 + len(body) // 2
header = struct.pack('<HHHIHIH', 1, 9, 0x300, words, 1, 10, 0)
placeable = struct.pack('<IhhhhhHI', 0x9AC6CDD7, 0, 0, 0, 3840, 2160, 96, 0)
checksum = 0
for word in struct.unpack('<10H', placeable):
    checksum ^= word
open('big.wmf', 'wb').write(placeable + struct.pack('<H', checksum) + header + body)
PY
export WINEPREFIX=$work/wine WINEDEBUG=-all
xvfb-run -a -s "-screen 0 1920x1080x24" /usr/lib/wine/wine64 "$program" \
  big.gif big.bmp big.jpg big.wmf 2>/dev/null
wineserver -k 2>/dev/null || true
