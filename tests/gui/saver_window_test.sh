#!/usr/bin/env bash
# The saver window on a real X display: the desktop snapshot under the orbs,
# the end on a key, a click and a diagonal mouse movement, the
# single-instance test, the black background where no snapshot can be had,
# and a picture folder from the settings file.
#
#   tests/gui/saver_window_test.sh path/to/orvel
#
# Needs an X display with no window manager in the way, e.g.
#   xvfb-run -a -s "-screen 0 1280x1024x24" tests/gui/saver_window_test.sh build/linux/orvel
# and xdotool and ImageMagick (scripts/install-deps.sh installs them).
set -uo pipefail

orvel=${1:?usage: saver_window_test.sh path/to/orvel}

if [ -z "${DISPLAY:-}" ]; then
  echo "FAIL: DISPLAY is not set; this test needs an X display." >&2
  echo "      Run it under xvfb-run -a -s \"-screen 0 1280x1024x24\" (ctest -L gui)." >&2
  exit 1
fi
for tool in xdotool import convert compare display; do
  if ! command -v "$tool" >/dev/null; then
    echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)." >&2
    exit 1
  fi
done
if [ -e "$(dirname "$orvel")/Orvel.ini" ]; then
  echo "FAIL: $(dirname "$orvel")/Orvel.ini would take the place of the test's settings." >&2
  exit 1
fi

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
# forgets the root window's picture: one client stays connected throughout.
xdotool search --sync --name "orvel test: keeps the display up" >/dev/null 2>&1 &
started+=($!)

read -r W H < <(xdotool getdisplaygeometry)
echo "screen ${W}x${H}"

# How many pixels of an image are not black.
not_black() { convert "$1" -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:; }
# How many pixels differ between two images of one size.
differing() { compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1; }
# The share of pixels of a region WxH+X+Y that have exactly the colour.
share_of() {
  convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
    -format '%[fx:mean]' info:
}
saver_windows() { xdotool search --name '^Orvel_Main$' 2>/dev/null | wc -l; }

# Waits until the saver's window is there; false after ten seconds.
wait_for_window() {
  for _ in $(seq 100); do
    [ "$(saver_windows)" -ge 1 ] && return 0
    sleep 0.1
  done
  return 1
}

# Waits for the process to end by itself within $2 seconds; the exit status
# in $status, or false when it still runs.
ends_within() {
  local pid=$1 tenths=$(($2 * 10))
  for _ in $(seq "$tenths"); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      status=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

# Starts the saver with the arguments given; its process id in $saver.
start_saver() {
  "$orvel" "$@" &
  saver=$!
  started+=("$saver")
  if ! wait_for_window; then
    fail "no window titled Orvel_Main after starting orvel $*"
    return 1
  fi
  # Some frames on the screen before anything looks at it.
  sleep 1
}

still_running() { sleep 0.5; kill -0 "$1" 2>/dev/null; }

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME"

# --- A known desktop: a picture that changes along both axes. ------------
convert -size "${W}x${H}" gradient:'rgb(30,60,90)-rgb(120,90,60)' \
  \( -size "${H}x${W}" gradient:'rgb(0,0,0)-rgb(60,40,20)' -rotate 90 \) \
  -compose plus -composite -depth 8 -type TrueColor "$work/pattern.png"
display -window root "$work/pattern.png"
import -window root "$work/desktop.png"
off=$(differing "$work/desktop.png" "$work/pattern.png")
if [ "$off" != 0 ]; then
  fail "the root window does not show the test picture ($off pixels differ)"
  exit 1
fi
xdotool mousemove 5 5

# --- orvel /s over the desktop snapshot. ---------------------------------
if start_saver /s; then
  import -window root "$work/saver.png"
  changed=$(differing "$work/saver.png" "$work/desktop.png")
  convert "$work/desktop.png" "$work/saver.png" -compose minus_src -composite "$work/lower.png"
  convert "$work/saver.png" "$work/desktop.png" -compose minus_src -composite "$work/raised.png"
  darker=$(not_black "$work/lower.png")
  tinted=$(not_black "$work/raised.png")
  echo "saver over the desktop: $changed of $((W * H)) pixels changed, $tinted tinted, $darker darker"
  # Ten orbs of about 1257 pixels each cover well under 5% of the screen.
  [ "$changed" -lt $((W * H / 20)) ] && pass "the background is the desktop away from the orbs" \
    || fail "$changed pixels differ from the desktop"
  [ "$tinted" -ge 2000 ] && pass "tinted orb pixels are there" || fail "only $tinted tinted pixels"
  [ "$darker" -eq 0 ] && pass "no pixel is darker than the desktop" \
    || fail "$darker pixels are darker than the desktop"

  # A second copy, and the host's preview request, end at once while the
  # saver runs: they must not run a saver of their own.
  for args in "/s" "/p 1234"; do
    begin=$(date +%s%N)
    timeout 5 "$orvel" $args
    rc=$?
    took=$((($(date +%s%N) - begin) / 1000000))
    [ "$rc" -eq 0 ] && pass "orvel $args ended by itself in $took ms" \
      || fail "orvel $args did not end by itself (status $rc)"
  done
  [ "$(saver_windows)" -eq 1 ] && pass "still one saver window" \
    || fail "$(saver_windows) windows titled Orvel_Main"

  # Moving straight along one axis never ends the saver.
  xdotool mousemove 200 5
  xdotool mousemove 400 5
  xdotool mousemove 400 5
  still_running "$saver" && pass "a horizontal movement leaves the saver running" \
    || fail "the saver ended on a horizontal movement"
  xdotool key space
  if ends_within "$saver" 2; then
    [ "$status" -eq 0 ] && pass "a key ended the saver with status 0" \
      || fail "the saver ended with status $status"
  else
    fail "the saver still runs 2 seconds after a key"
  fi
  [ "$(saver_windows)" -eq 0 ] && pass "the window is gone" || fail "the window stays"
fi

# --- A diagonal movement ends orvel /s. ----------------------------------
xdotool mousemove 5 5
if start_saver /s; then
  xdotool mousemove 300 300
  still_running "$saver" && pass "the first movement only records where the pointer is" \
    || fail "the saver ended on the first movement"
  xdotool mousemove 320 310
  if ends_within "$saver" 2; then
    [ "$status" -eq 0 ] && pass "a diagonal movement ended the saver with status 0" \
      || fail "the saver ended with status $status"
  else
    fail "the saver still runs after a diagonal movement"
  fi
fi

# --- A test run (no argument) ignores the mouse; a click ends it. -------
if start_saver; then
  xdotool mousemove 100 100
  xdotool mousemove 500 400
  xdotool mousemove 50 700
  still_running "$saver" && pass "a test run ignores mouse movement" \
    || fail "the test run ended on mouse movement"
  xdotool click 1
  if ends_within "$saver" 2; then
    [ "$status" -eq 0 ] && pass "a click ended the test run with status 0" \
      || fail "the test run ended with status $status"
  else
    fail "the test run still runs after a click"
  fi
fi

# --- The settings dialog's title also keeps the saver from starting. ----
display -geometry 64x64+0+0 "$work/pattern.png" &
viewer=$!
started+=("$viewer")
viewer_window=$(timeout 10 xdotool search --sync --name '^ImageMagick: ' 2>/dev/null | head -n 1)
if [ -n "$viewer_window" ]; then
  xdotool set_window --name "Orvelの設定" "$viewer_window"
  timeout 5 "$orvel" /s
  rc=$?
  [ "$rc" -eq 0 ] && [ "$(saver_windows)" -eq 0 ] \
    && pass "a window titled Orvelの設定 keeps orvel /s from starting" \
    || fail "orvel /s ran beside a window titled Orvelの設定 (status $rc)"
else
  fail "no window of ImageMagick's display to rename"
fi
kill "$viewer" 2>/dev/null
wait "$viewer" 2>/dev/null

# --- No snapshot (a Wayland session): black under the orbs. -------------
xdotool mousemove 5 5
export WAYLAND_DISPLAY=orvel-test-no-such-socket
if start_saver /s; then
  import -window root "$work/black.png"
  lit=$(not_black "$work/black.png")
  echo "saver without a snapshot: $lit pixels not black"
  [ "$lit" -lt $((W * H / 20)) ] && [ "$lit" -ge 2000 ] \
    && pass "without a snapshot the orbs drift over black" \
    || fail "$lit pixels are not black without a snapshot"
  xdotool key Escape
  ends_within "$saver" 2 && [ "$status" -eq 0 ] || fail "Escape did not end the saver"
fi
unset WAYLAND_DISPLAY

# --- A picture folder in the settings file: the first picture, fitted. --
mkdir -p "$work/pictures" "$XDG_CONFIG_HOME/orvel"
convert -size 300x400 xc:'rgb(200,60,40)' -type TrueColor "BMP3:$work/pictures/tall.bmp"
# The key 画像のﾌｫﾙﾀﾞ (the picture folder) in Shift-JIS.
{
  printf '[Section]\r\n'
  printf '\x89\xe6\x91\x9c\x82\xcc\xcc\xab\xd9\xc0\xde=%s\r\n' "$work/pictures"
} >"$XDG_CONFIG_HOME/orvel/Orvel.ini"
# A picture higher than wide fills the screen's height, centred.
dw=$(((300 * H + 200) / 400))
x0=$(((W - dw) / 2))
if start_saver /s; then
  import -window root "$work/slide.png"
  band=$(share_of "$work/slide.png" "$((x0 - 20))x${H}+10+0" black)
  picture=$(share_of "$work/slide.png" "$((dw - 40))x$((H - 40))+$((x0 + 20))+20" 'rgb(200,60,40)')
  echo "slideshow: black band ${band}, picture ${picture}"
  awk "BEGIN { exit !($band > 0.9) }" && pass "black to the left of the fitted picture" \
    || fail "the band left of the picture is not black (share $band)"
  awk "BEGIN { exit !($picture > 0.9) }" && pass "the picture is shown, fitted and centred" \
    || fail "the picture is not where it belongs (share $picture)"
  xdotool key a
  ends_within "$saver" 2 && [ "$status" -eq 0 ] || fail "a letter key did not end the saver"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all checks passed"
