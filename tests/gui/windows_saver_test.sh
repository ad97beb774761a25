#!/usr/bin/env bash
# Orvel.scr under Wine on a real X display: the desktop snapshot under the
# orbs, the single-instance test and the end on a key.
#
#   tests/gui/windows_saver_test.sh path/to/Orvel.scr
#
# Runs Wine through cmake/wine-run.sh with the Windows build's own prefix
# (beside the program). Needs an X display with no window manager in the
# way, e.g.
#   xvfb-run -a -s "-screen 0 1280x1024x24" tests/gui/windows_saver_test.sh \
#     build/windows-x64/Orvel.scr
# and xdotool, xsetroot and ImageMagick.
set -uo pipefail

scr=${1:?usage: windows_saver_test.sh path/to/Orvel.scr}
root=$(cd "$(dirname "$0")/../.." && pwd)

if [ ! -f "$scr" ] || ! command -v wine >/dev/null; then
  echo "FAIL: no $scr, or no wine." >&2
  exit 1
fi
if [ -z "${DISPLAY:-}" ]; then
  echo "FAIL: DISPLAY is not set; run this under xvfb-run (ctest -L gui)." >&2
  exit 1
fi
for tool in xdotool xsetroot import convert; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing." >&2; exit 1; }
done
if [ -e "$(dirname "$scr")/Orvel.ini" ]; then
  echo "FAIL: $(dirname "$scr")/Orvel.ini would take the place of the test's settings." >&2
  exit 1
fi

run_wine() { "$root/cmake/wine-run.sh" "$(dirname "$scr")/wine-prefix" "$@"; }

work=$(mktemp -d)
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# An X server started by xvfb-run resets when its last client leaves, and
# forgets the root window's colour: one client stays connected throughout.
xdotool search --sync --name "orvel test: keeps the display up" >/dev/null 2>&1 &
started+=($!)

read -r W H < <(xdotool getdisplaygeometry)
colour='rgb(48,96,144)'
xsetroot -solid '#306090'
xdotool mousemove 5 5

# The share of pixels that have exactly the colour.
share_of() { convert "$1" -fill black +opaque "$2" -fill white -opaque "$2" -format '%[fx:mean]' info:; }
# How many pixels are darker than the colour in some channel.
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

# The Wine session first (the first time, its prefix too: half a minute or
# more), so that the saver's start is quick.
run_wine cmd.exe /c exit >/dev/null 2>&1

# Orvel.scr /s over the desktop's colour.
run_wine "$scr" /s &
saver=$!
started+=("$saver")
for _ in $(seq 300); do
  [ "$(saver_windows)" -ge 1 ] && break
  sleep 0.1
done
if [ "$(saver_windows)" -lt 1 ]; then
  fail "no window titled Orvel_Main 30 seconds after starting Orvel.scr /s"
  exit 1
fi
sleep 2
import -window root "$work/saver.png"
[ -n "${ORVEL_SCREENSHOTS:-}" ] && cp "$work/saver.png" "$ORVEL_SCREENSHOTS/windows-saver.png"
share=$(share_of "$work/saver.png" "$colour")
lower=$(darker "$work/saver.png")
echo "saver over the desktop: share of the desktop's colour $share, $lower pixels darker"
# Ten orbs of about 1257 pixels each cover well under 5% of the screen, and
# at least some hundreds of pixels.
awk "BEGIN { exit !($share > 0.95 && $share < 1 - 2000 / ($W * $H)) }" \
  && pass "the desktop's colour with orbs over it" || fail "share of the desktop's colour $share"
[ "$lower" -eq 0 ] && pass "no pixel is darker than the desktop" \
  || fail "$lower pixels are darker than the desktop"

# A second copy ends at once while the saver runs.
timeout 60 "$root/cmake/wine-run.sh" "$(dirname "$scr")/wine-prefix" "$scr" /s
rc=$?
[ "$rc" -eq 0 ] && [ "$(saver_windows)" -eq 1 ] && pass "a second Orvel.scr /s ended by itself" \
  || fail "a second Orvel.scr /s did not end by itself (status $rc, $(saver_windows) windows)"

xdotool key space
for _ in $(seq 100); do
  kill -0 "$saver" 2>/dev/null || break
  sleep 0.1
done
if kill -0 "$saver" 2>/dev/null; then
  fail "the saver still runs 10 seconds after a key"
else
  wait "$saver"
  status=$?
  [ "$status" -eq 0 ] && pass "a key ended the saver with status 0" \
    || fail "the saver ended with status $status on a key"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
