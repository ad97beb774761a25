#!/usr/bin/env bash
# How regularly `orvel /s` puts its frames on a fresh Xvfb of the given
# size (scripts/frame_times.py over the given seconds), on the gradient
# desktop or, with a picture folder, over its pictures changing every second.
#   usage: scripts/frame-times.sh WxH [SECONDS] [orvel] [PICTURE_FOLDER]
set -euo pipefail
usage="usage: scripts/frame-times.sh WxH [SECONDS] [orvel] [PICTURE_FOLDER]"
size=${1:?$usage}
seconds=${2:-30}
orvel=${3:-build/linux-release/orvel}
folder=${4:-}
source "$(dirname "$0")/saver-on-xvfb.sh"

xvfb_with_desktop "$size"
if [ -n "$folder" ]; then
  mkdir -p "$work/orvel"
  # The picture folder's key, in the file's own Shift-JIS; the interval
  # left out is a change every second.
  python3 -c "
import sys
sys.stdout.buffer.write(b'[Section]\r\n' + '画像のﾌｫﾙﾀﾞ'.encode('shift_jis') + b'=' + sys.argv[1].encode() + b'\r\n')
" "$(realpath "$folder")" >"$work/orvel/Orvel.ini"
fi
"$orvel" /s &
saver=$!
sleep 3
python3 "$(dirname "$0")/frame_times.py" "$seconds"
end_saver_and_xvfb
