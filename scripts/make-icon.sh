#!/usr/bin/env bash
# Regenerates the Windows program's icon, src/platform/win32/orvel.ico, from
# the skin's window icon (32 x 32), which orvel-tool draws.
#   usage: scripts/make-icon.sh [path/to/orvel-tool]
# Needs ImageMagick's convert.
set -euo pipefail
tool=${1:-build/linux/orvel-tool}
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$tool" skin --out "$work" >/dev/null
# One 32 x 32 image of 32 bits per pixel, with no other sizes made up.
convert "$work/window-icon.png" -resize '32x32!' -define icon:auto-resize=32 \
  -depth 8 "$root/src/platform/win32/orvel.ico"
echo "wrote src/platform/win32/orvel.ico"
