#!/usr/bin/env bash
# The saver on two monitors: the orbs over the primary monitor's snapshot,
# the other monitor black, the pointer hidden over both, and the end on a
# key, a click or a diagonal movement made on either; monitors that go and
# come back while the saver runs; the settings dialog on the primary.
#
#   tests/gui/multi_monitor_test.sh path/to/orvel
#
# Runs its own X server with two monitors side by side, 1920 x 1080 each,
# the right one primary. Xvfb cannot be that server: it has one RandR
# output, and GDK 3 makes one monitor of each output, so the monitors that
# `xrandr --setmonitor` adds to Xvfb's screen stay unseen. TigerVNC's Xvnc
# makes one output per screen that a viewer asks for; this test asks as a
# viewer would, through x_display_tools.py.
# Needs Xvnc (tigervnc-standalone-server), xrandr, xsetroot, xdotool, xprop,
# ImageMagick and python3 (scripts/install-deps.sh installs them). It is run
# under xvfb-run like the other GUI tests, whose display it leaves alone.
# ORVEL_SHOTS=DIR keeps the screenshots in DIR.
set -uo pipefail

orvel=${1:?usage: multi_monitor_test.sh path/to/orvel}
tools="python3 $(dirname "$0")/x_display_tools.py"

source "$(dirname "$0")/common.sh" Xvnc xrandr xsetroot xdotool xprop import convert python3

# --- Two monitors. ------------------------------------------------------
Xvnc -displayfd 3 -geometry 3840x1080 -depth 24 -SecurityTypes None -rfbport -1 \
  -rfbunixpath "$work/vnc" -noreset 3>"$work/display" 2>"$work/xvnc.log" &
started+=($!)
if ! wait_until 10 eval '[ -s "$work/display" ] && [ -S "$work/vnc" ]'; then
  fail "Xvnc did not start: $(tail -3 "$work/xvnc.log")"
  exit 1
fi
export DISPLAY=":$(cat "$work/display")"
two_monitors() { $tools layout "$work/vnc" 1920x1080+0+0 1920x1080+1920+0; }
two_monitors
xrandr --output VNC-1 --primary
monitors=$(xrandr --listmonitors)
echo "$monitors"
if ! grep -q '^Monitors: 2$' <<<"$monitors" || ! grep -q '\*VNC-1 1920/[0-9]*x1080/[0-9]*+1920+0' <<<"$monitors"; then
  fail "the X server does not have the two monitors"
  exit 1
fi

colour='rgb(32,96,160)'
xsetroot -solid '#2060a0'
convert -size 1920x1080 "xc:$colour" -type TrueColor "$work/colour.png"

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/orvel"

# How many pixels of an image are not black.
# (convert writes large counts as 2.0736e+06.)
not_black() {
  printf '%.0f\n' "$(convert "$1" -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:)"
}
# The left (non-primary) and right (primary) monitor of a screenshot.
left_of() { convert "$1" -crop 1920x1080+0+0 +repage "$2"; }
right_of() { convert "$1" -crop 1920x1080+1920+0 +repage "$2"; }
windows_titled() { xdotool search --name "^$1\$" 2>/dev/null | wc -l; }
pointer_pixels() { $tools cursor-pixels; }

start_saver() {
  "$orvel" /s &
  saver=$!
  started+=("$saver")
  wait_until 10 eval '[ "$(windows_titled Orvel_Main)" -ge 1 ]' && sleep 1 && return 0
  fail "no window titled Orvel_Main after starting orvel /s"
  return 1
}

# Checks that the saver ends with status 0 within two seconds of what
# `how` says was done, and leaves no window behind.
ends_saver() {
  ends_with_0 "$saver" 2 "$1" || { kill "$saver" 2>/dev/null; return; }
  [ "$(windows_titled 'Orvel_(Main|Cover)')" -eq 0 ] && pass "no saver window is left" \
    || fail "saver windows are left after $1"
}

# Checks that the saver still runs after what `what` says was done.
still_runs() {
  sleep 0.5
  kill -0 "$saver" 2>/dev/null && pass "the saver still runs after $1" \
    || fail "the saver ended after $1"
}

# Checks a screenshot: the orbs over the root window's colour on the
# primary monitor, nothing but black on the other one.
check_screens() {
  local shot=$1
  left_of "$shot" "$work/left.png"
  right_of "$shot" "$work/right.png"
  convert "$work/right.png" "$work/colour.png" -compose minus_src -composite "$work/raised.png"
  convert "$work/colour.png" "$work/right.png" -compose minus_src -composite "$work/lower.png"
  local lit tinted darker
  lit=$(not_black "$work/left.png")
  tinted=$(not_black "$work/raised.png")
  darker=$(not_black "$work/lower.png")
  echo "$shot: $lit pixels lit on the left monitor; on the primary $tinted tinted, $darker darker"
  [ "$lit" -eq 0 ] && pass "the other monitor is black" \
    || fail "$lit pixels of the other monitor are not black"
  # Ten orbs of about 1257 pixels each.
  [ "$tinted" -ge 2000 ] && [ "$tinted" -lt $((1920 * 1080 / 20)) ] \
    && pass "the orbs are on the primary monitor" || fail "$tinted tinted pixels on the primary"
  [ "$darker" -eq 0 ] && pass "the primary shows the desktop under the orbs" \
    || fail "$darker pixels of the primary are darker than the desktop"
}

# Waits (up to ten seconds) for orbs on the primary monitor in a screenshot.
screenshot_with_orbs() {
  for _ in $(seq 10); do
    import -window root "$1"
    right_of "$1" "$work/right.png"
    convert "$work/right.png" "$work/colour.png" -compose minus_src -composite "$work/raised.png"
    [ "$(not_black "$work/raised.png")" -ge 2000 ] && return
    sleep 1
  done
}

# --- The pointer on the other monitor at the start; a key ends it. -------
xdotool mousemove 500 500
if start_saver; then
  screenshot_with_orbs "$work/saver.png"
  check_screens "$work/saver.png"
  [ "$(windows_titled Orvel_Main)" -eq 1 ] && pass "one window is titled Orvel_Main" \
    || fail "$(windows_titled Orvel_Main) windows are titled Orvel_Main"
  pixels=$(pointer_pixels)
  [ "$pixels" = 0 ] && pass "the pointer is hidden over the other monitor" \
    || fail "$pixels pixels of the pointer show over the other monitor"
  xdotool mousemove 2500 500
  sleep 0.3
  pixels=$(pointer_pixels)
  [ "$pixels" = 0 ] && pass "the pointer is hidden over the primary" \
    || fail "$pixels pixels of the pointer show over the primary"
  xdotool key space
  ends_saver "the key space"
  pixels=$(pointer_pixels)
  [ "$pixels" -gt 0 ] && pass "the pointer shows again" || fail "the pointer stays hidden"
fi

# --- A click on the other monitor. ---------------------------------------
xdotool mousemove 700 300
if start_saver; then
  xdotool click 1
  ends_saver "a click on the other monitor"
fi

# Starts the saver while another program holds the pointer and the
# keyboard (as an open menu does) for ten seconds: the saver gives up taking
# them, and input reaches each window as the pointer is over it.
start_saver_ungrabbed() {
  $tools grab 10 >"$work/grab.log" &
  local grabber=$!
  started+=("$grabber")
  wait_until 5 grep -q grabbed "$work/grab.log"
  start_saver || return 1
  wait "$grabber"
  sleep 0.5
  # By now the saver has given up taking them (after some 5 s of tries).
  $tools grab 0 >/dev/null 2>&1 && return 0
  fail "the saver took the pointer and the keyboard after all: nothing runs without its grab"
  kill "$saver"
  return 1
}

# --- Without the saver's grab: a key and the pointer over the other ------
# --- monitor. -------------------------------------------------------------
xdotool mousemove 500 500
if start_saver_ungrabbed; then
  pixels=$(pointer_pixels)
  [ "$pixels" = 0 ] && pass "without the saver's grab, the pointer is hidden over the other monitor" \
    || fail "without the saver's grab, $pixels pixels of the pointer show over the other monitor"
  xdotool key Escape
  ends_saver "the key Escape over the other monitor"
fi
xdotool mousemove 500 500
if start_saver_ungrabbed; then
  # The first position seen, on the other monitor, is the origin. A
  # movement along it does not end the saver; one that leaves it on both
  # axes does, though the pointer ends up in the primary's column 600 as it
  # was in the other monitor's column 600: positions are the saver
  # window's, on every monitor.
  xdotool mousemove 600 500
  sleep 0.3
  xdotool mousemove 900 500
  still_runs "a horizontal movement on the other monitor"
  xdotool mousemove 2520 560
  ends_saver "a diagonal movement from the other monitor to the primary"
fi

# --- Monitors go and come back while the saver runs. --------------------
xdotool mousemove 2500 500
if start_saver; then
  $tools layout "$work/vnc" 1920x1080+1920+0
  still_runs "the other monitor was taken away"
  two_monitors
  still_runs "the other monitor came back"
  $tools layout "$work/vnc" 1920x1080+0+0
  still_runs "the primary monitor was taken away"
  two_monitors
  still_runs "the primary monitor came back"
  sleep 1
  screenshot_with_orbs "$work/replugged.png"
  check_screens "$work/replugged.png"
  # The cover made for the monitor that came back is kept above other
  # windows from the start, as the first covers are.
  cover=$(xdotool search --name '^Orvel_Cover$' 2>/dev/null | head -1)
  xprop -id "${cover:-0}" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE \
    && pass "the new cover is kept above other windows" \
    || fail "the new cover is not kept above other windows"
  # A monitor that shows part of each: covered, and the saver window stays
  # above its cover.
  $tools layout "$work/vnc" 1920x1080+0+0 1920x1080+1920+0 1920x1080+960+0
  still_runs "a monitor came that shows part of each"
  sleep 1
  screenshot_with_orbs "$work/straddled.png"
  check_screens "$work/straddled.png"
  xdotool key a
  ends_saver "the key a"
fi

# --- The settings dialog opens centred on the primary monitor. ----------
"$orvel" /c &
started+=($!)
win=$(timeout 10 xdotool search --sync --onlyvisible --name '^Orvelの設定$' | head -1)
x=$(xwininfo -id "${win:-0}" 2>/dev/null | awk '/Absolute upper-left X/ { print $4 }')
# 1920 + (1920 - 565) / 2, give or take a frame.
[ "${x:-0}" -ge 2590 ] && [ "${x:-0}" -le 2610 ] && pass "the settings dialog is centred on the primary" \
  || fail "the settings dialog's left edge is at ${x:-nothing}, not centred on the primary"

if [ -n "${ORVEL_SHOTS:-}" ]; then
  mkdir -p "$ORVEL_SHOTS" && cp "$work"/{saver,replugged,straddled}.png "$ORVEL_SHOTS/"
fi

finish
