#!/usr/bin/env bash
# Orvel as a hack of a screen-saver host, on an X display (xvfb-run): the
# orbs in XSCREENSAVER_WINDOW, the still in a -window-id, and their ends.
set -uo pipefail

usage="usage: hack_test.sh path/to/orvel path/to/orvel_host_window path/to/orvel-tool"
orvel=${1:?$usage}
host_window=${2:?$usage}
tool=${3:?$usage}

source "$(dirname "$0")/common.sh" xdotool import convert compare

# Settings of their own: no pictures, no music.
export XDG_CONFIG_HOME="$work/config"
xsetroot -solid '#306090'

# The host's window: WIDTH HEIGHT; sets `window` (its id) and `window_pid`.
open_window() {
  "$host_window" "$1" "$2" >"$work/window-id" &
  window_pid=$!
  started+=("$window_pid")
  wait_until 5 eval '[ -s "$work/window-id" ]' || { fail "no host window of $1 x $2"; exit 1; }
  window=$(cat "$work/window-id")
}
close_window() { kill "$window_pid" && wait "$window_pid" 2>/dev/null; rm -f "$work/window-id"; }
# Starts orvel with the arguments, its process id in `hack`.
start_hack() {
  "$orvel" "$@" &
  hack=$!
  started+=("$hack")
}

# Full screen as xscreensaver runs it: -root, and the window in the variable.
open_window 640 480
XSCREENSAVER_WINDOW=$window start_hack -root
sleep 2
import -window "$window" "$work/hack.png"
[ -n "${ORVEL_SCREENSHOTS:-}" ] && cp "$work/hack.png" "$ORVEL_SCREENSHOTS/hack.png"
size=$(convert "$work/hack.png" -format '%wx%h' info:)
lit=$(not_black "$work/hack.png")
echo "hack window $size, $lit pixels not black"
# Ten orbs of about 1257 pixels each, over black: no screenshot was saved.
[ "$size" = 640x480 ] && [ "$lit" -gt 2000 ] && [ "$lit" -lt 30000 ] \
  && pass "the orbs over black in the host's window of 640 x 480" \
  || fail "the host's window shows $lit lit pixels at $size"
[ -z "$(xdotool search --name '^Orvel_Main$' 2>/dev/null)" ] && pass "no window of the saver's own" \
  || fail "the hack made a window of its own"
kill -TERM "$hack"
ends_with_0 "$hack" 2 "SIGTERM"
close_window

# A first picture slower than the 5 s awaited: the wait sleeps, and SIGTERM ends it.
mkdir -p "$work/pictures" "$XDG_CONFIG_HOME/orvel"
convert -size 64x48 xc:'rgb(200,60,40)' -type TrueColor "BMP3:$work/pictures/a.bmp"
# The key 画像のﾌｫﾙﾀﾞ (the picture folder) in Shift-JIS.
printf '[Section]\r\n\x89\xe6\x91\x9c\x82\xcc\xcc\xab\xd9\xc0\xde=%s\r\n' "$work/pictures" \
  >"$XDG_CONFIG_HOME/orvel/Orvel.ini"
ticks() { awk '{ print $14 + $15 }' "/proc/$1/stat"; }
open_window 640 480
XSCREENSAVER_WINDOW=$window ORVEL_TEST_DECODE_DELAY_MS=30000 start_hack -root
sleep 0.5
before=$(ticks "$hack")
sleep 1
spent=$(($(ticks "$hack") - before))
kill -TERM "$hack"
[ "$spent" -lt 50 ] && pass "the wait for the first picture sleeps" \
  || fail "waiting for the first picture took $spent ticks in 1 s"
ends_with_0 "$hack" 2 "SIGTERM during the first picture's wait"
close_window
rm "$XDG_CONFIG_HOME/orvel/Orvel.ini"

# A settings program's preview: the still top left, black elsewhere; the end with the window.
"$tool" skin --out "$work/skin" >/dev/null
for size in "152 112" "200 150"; do
  read -r w h <<<"$size"
  open_window "$w" "$h"
  start_hack -window-id "$window"
  sleep 1.5
  import -window "$window" "$work/preview.png"
  [ -n "${ORVEL_SCREENSHOTS:-}" ] && cp "$work/preview.png" "$ORVEL_SCREENSHOTS/hack-preview-${w}x$h.png"
  convert "$work/preview.png" -crop 152x112+0+0 +repage "$work/still.png"
  differing=$(compare -metric AE "$work/still.png" "$work/skin/preview-still.png" null: 2>&1)
  convert "$work/preview.png" -fill black -draw 'rectangle 0,0 151,111' "$work/rest.png"
  rest=$(not_black "$work/rest.png")
  [ "$differing" = 0 ] && [ "$rest" = 0 ] && pass "the still in a window of $w x $h" \
    || fail "in a window of $w x $h: $differing pixels differ from the still, $rest lit beside it"
  close_window
  ends_with_0 "$hack" 2 "its window's going"
done

finish
