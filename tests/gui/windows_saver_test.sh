#!/usr/bin/env bash
# Orvel.scr under Wine (cmake/wine-run.sh, the build's own prefix, no fonts mapped) on an X
# display without window manager: saver, single instance, preview, settings dialog. e.g.
#   xvfb-run -a -s "-screen 0 1280x1024x24" tests/gui/windows_saver_test.sh \
#     build/windows-x64/Orvel.scr build/windows-x64/orvel_test_host.exe
set -uo pipefail

usage="usage: windows_saver_test.sh path/to/Orvel.scr path/to/orvel_test_host.exe"
orvel=$(realpath "${1:?$usage}")
test_host=$(realpath "${2:?$usage}")
root=$(cd "$(dirname "$0")/../.." && pwd)

source "$(dirname "$0")/common.sh" xdotool xsetroot import convert compare iconv

prefix="$(dirname "$orvel")/wine-prefix"
# (Programs left running are started without it, so that $! is Wine's own process.)
run_wine() { "$root/cmake/wine-run.sh" "$prefix" "$@"; }

read -r W H < <(xdotool getdisplaygeometry)
colour='rgb(48,96,144)'
xsetroot -solid '#306090'
xdotool mousemove 5 5

share_of() { convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:mean]' info:; }
darker() {
  convert "$1" \( -size "${W}x${H}" xc:"$colour" \) -compose minus_dst -composite \
    -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:
}
saver_windows() { xdotool search --name '^Orvel_Main$' 2>/dev/null | wc -l; }

import -window root "$work/desktop.png"
if [ "$(share_of "$work/desktop.png" "$colour")" != 1 ]; then
  fail "the root window does not show the colour it was given"
  exit 1
fi

# The Wine session (and prefix) first, so that the saver's start is quick.
run_wine cmd.exe /c exit >/dev/null 2>&1

# Orvel.scr /s over the desktop's colour.
"$root/cmake/wine-run.sh" "$prefix" "$orvel" /s &
saver=$!
started+=("$saver")
if ! wait_until 30 eval '[ "$(saver_windows)" -ge 1 ]'; then
  fail "no window titled Orvel_Main 30 seconds after starting Orvel.scr /s"
  exit 1
fi
sleep 2
import -window root "$work/saver.png"
[ -n "${ORVEL_SCREENSHOTS:-}" ] && cp "$work/saver.png" "$ORVEL_SCREENSHOTS/windows-saver.png"
share=$(share_of "$work/saver.png" "$colour")
lower=$(darker "$work/saver.png")
echo "saver over the desktop: share of the desktop's colour $share, $lower pixels darker"
# Ten orbs of about 1257 pixels each: some hundreds of pixels, well under 5% of the screen.
awk "BEGIN { exit !($share > 0.95 && $share < 1 - 2000 / ($W * $H)) }" \
  && pass "the desktop's colour with orbs over it" || fail "share of the desktop's colour $share"
[ "$lower" -eq 0 ] && pass "no pixel is darker than the desktop" \
  || fail "$lower pixels are darker than the desktop"

# A second copy ends at once while the saver runs.
timeout 60 "$root/cmake/wine-run.sh" "$prefix" "$orvel" /s
rc=$?
[ "$rc" -eq 0 ] && [ "$(saver_windows)" -eq 1 ] && pass "a second Orvel.scr /s ended by itself" \
  || fail "a second Orvel.scr /s did not end by itself (status $rc, $(saver_windows) windows)"

xdotool key space
ends_with_0 "$saver" 10 "a key on the saver"

# The preview fills the host's pane and ends with status 0 when the pane goes.
preview=$(run_wine "$test_host" preview "$orvel" 5)
rc=$?
echo "$preview"
case $rc in
  0) pass "the preview filled the host's pane and ended with it" ;;
  4) fail "no preview window covered the host's pane" ;;
  3) fail "the preview still ran 10 seconds after its pane went" ;;
  *) fail "the preview host ended with status $rc" ;;
esac

# The settings dialog: 設定 writes the settings file in application data and closes.
appdata=$(run_wine cmd.exe /c echo %APPDATA% 2>/dev/null | tr -d '\r')
ini="$(run_wine winepath.exe -u "$appdata" 2>/dev/null)/Orvel/Orvel.ini"
rm -f "$ini"
"$root/cmake/wine-run.sh" "$prefix" "$orvel" /c &
dialog=$!
started+=("$dialog")
point=""
for _ in $(seq 120); do
  point=$(run_wine "$test_host" point 'Orvelの設定' 'lbl_Button(2)' 2>/dev/null) && break
  sleep 0.25
done
if [ -z "$point" ]; then
  fail "no settings dialog 30 seconds after Orvel.scr /c"
else
  kinds=()
  for kind in 0 3; do
    kinds+=("$(run_wine "$test_host" point 'Orvelの設定' "lbl_Kind($kind)" 2>/dev/null | tr -d '\r')")
  done
  # Dark pixels of "*.bmp" and "*.wmf" in like rectangles differ unless the face lacks Latin
  # letters; looked at once drawn: some ink, not all (as the desktop's dark colour gives).
  ink() {
    for kind in 0 1; do
      read -r x y <<<"${kinds[$kind]}"
      convert "$work/dialog.png" -crop "32x13+$((${x:-0} - 16))+$((${y:-0} - 6))" +repage \
        -colorspace gray -threshold 40% "$work/kind$kind.png"
    done
    convert "$work/kind0.png" -format '%[fx:round((1-mean)*w*h)]' info:
  }
  for _ in $(seq 20); do
    sleep 0.5
    import -window root "$work/dialog.png"
    drawn=$(ink)
    [ "$drawn" -gt 0 ] && [ "$drawn" -lt $((32 * 13)) ] && break
  done
  [ -n "${ORVEL_SCREENSHOTS:-}" ] && cp "$work/dialog.png" "$ORVEL_SCREENSHOTS/windows-dialog.png"
  xdotool mousemove $point click 1
  differing=$(compare -metric AE "$work/kind0.png" "$work/kind1.png" null: 2>&1)
  [ "${differing%% *}" -ge 20 ] 2>/dev/null && pass "\"*.bmp\" and \"*.wmf\" show their own letters" \
    || fail "\"*.bmp\" and \"*.wmf\" look alike ($differing pixels differ): boxes, not letters"
  ends_with_0 "$dialog" 10 "a click on 設定"
  # A new file, in Shift-JIS, where the user's settings live.
  saved=$(iconv -f SHIFT_JIS -t UTF-8 "$ini" 2>/dev/null | tr -d '\r')
  [ "$(head -2 <<<"$saved")" = $'[Section]\n画像ﾁｪﾝｼﾞ=0' ] \
    && pass "設定 wrote %APPDATA%\\Orvel\\Orvel.ini in Shift-JIS" || fail "設定 wrote to $ini: $saved"
fi

finish
