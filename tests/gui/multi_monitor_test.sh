#!/usr/bin/env bash
# The saver on two monitors, the right one primary. Xvfb has one RandR output: the test
# runs an Xvnc of its own with two screens (x_display_tools.py). ORVEL_SHOTS=DIR keeps shots.
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
if ! grep -q '^Monitors: 2$' <<<"$monitors" || ! grep -q '\*VNC-1 1920/[0-9]*x1080/[0-9]*+1920+0' <<<"$monitors"; then
  fail "the X server does not have the two monitors: $monitors"
  exit 1
fi

colour='rgb(32,96,160)'
xsetroot -solid '#2060a0'
convert -size 1920x1080 "xc:$colour" -type TrueColor "$work/colour.png"

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/orvel"

# The pixels of the primary (right) monitor brighter than the desktop's colour.
tinted() {
  convert "$1" -crop 1920x1080+1920+0 +repage "$work/right.png"
  convert "$work/right.png" "$work/colour.png" -compose minus_src -composite "$work/raised.png"
  not_black "$work/raised.png"
}
pointer_hidden() {
  local pixels
  pixels=$($tools cursor-pixels)
  [ "$pixels" = 0 ] && pass "the pointer is hidden $1" || fail "$pixels pixels of the pointer show $1"
}

# The saver ends with status 0 within two seconds, and leaves no window.
ends_saver() {
  ends_with_0 "$saver" 2 "$1" || { kill "$saver" 2>/dev/null; return; }
  [ "$(windows_titled 'Orvel_(Main|Cover)')" -eq 0 ] && pass "no saver window is left" \
    || fail "saver windows are left after $1"
}

still_runs() {
  sleep 0.5
  kill -0 "$saver" 2>/dev/null && pass "the saver still runs after $1" \
    || fail "the saver ended after $1"
}

# The orbs over the desktop's colour on the primary, black on the other.
check_screens() {
  local shot=$1 lit tinted darker
  convert "$shot" -crop 1920x1080+0+0 +repage "$work/left.png"
  tinted=$(tinted "$shot")
  convert "$work/colour.png" "$work/right.png" -compose minus_src -composite "$work/lower.png"
  lit=$(not_black "$work/left.png")
  darker=$(not_black "$work/lower.png")
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
    [ "$(tinted "$1")" -ge 2000 ] && return
    sleep 1
  done
}

# --- The pointer on the other monitor at the start; a key ends it. -------
xdotool mousemove 500 500
if start_saver /s; then
  screenshot_with_orbs "$work/saver.png"
  check_screens "$work/saver.png"
  [ "$(windows_titled Orvel_Main)" -eq 1 ] && pass "one window is titled Orvel_Main" \
    || fail "$(windows_titled Orvel_Main) windows are titled Orvel_Main"
  pointer_hidden "over the other monitor"
  xdotool mousemove 2500 500
  sleep 0.3
  pointer_hidden "over the primary"
  xdotool key space
  ends_saver "the key space"
  [ "$($tools cursor-pixels)" -gt 0 ] && pass "the pointer shows again" || fail "the pointer stays hidden"
fi

# --- A click on the other monitor. ---------------------------------------
xdotool mousemove 700 300
if start_saver /s; then
  xdotool click 1
  ends_saver "a click on the other monitor"
fi

# Starts the saver while another program holds the pointer and keyboard for ten seconds.
start_saver_ungrabbed() {
  $tools grab 10 >"$work/grab.log" &
  local grabber=$!
  started+=("$grabber")
  wait_until 5 grep -q grabbed "$work/grab.log"
  start_saver /s || return 1
  wait "$grabber"
  sleep 0.5
  $tools grab 0 >/dev/null 2>&1 && return 0
  fail "the saver took the pointer and the keyboard after all: nothing runs without its grab"
  kill "$saver"
  return 1
}

# --- Without the saver's grab: the pointer and a key on the other monitor.
xdotool mousemove 500 500
if start_saver_ungrabbed; then
  pointer_hidden "over the other monitor without the saver's grab"
  xdotool key Escape
  ends_saver "the key Escape over the other monitor"
fi
xdotool mousemove 500 500
if start_saver_ungrabbed; then
  # Positions are the saver window's: column 600 of either monitor is another place.
  xdotool mousemove 600 500
  sleep 0.3
  xdotool mousemove 900 500
  still_runs "a horizontal movement on the other monitor"
  xdotool mousemove 2520 560
  ends_saver "a diagonal movement from the other monitor to the primary"
fi

# --- Monitors go and come back while the saver runs. --------------------
xdotool mousemove 2500 500
if start_saver /s; then
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
  cover=$(xdotool search --name '^Orvel_Cover$' 2>/dev/null | head -1)
  xprop -id "${cover:-0}" _NET_WM_STATE 2>/dev/null | grep -q _NET_WM_STATE_ABOVE \
    && pass "the new cover is kept above other windows" \
    || fail "the new cover is not kept above other windows"
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
