# Shared by the measuring scripts, which source it: a fresh Xvfb showing a
# gradient desktop, `orvel /s` on it, and nothing left running afterwards.
#   xvfb_with_desktop WxH     starts the X server alone; $xvfb holds its id
#   saver_on_xvfb WxH ORVEL   starts both; $xvfb and $saver hold their ids
#   end_saver_and_xvfb        a key ends the saver, then the X server goes
# $work is a folder that goes with them; it is the saver's XDG_CONFIG_HOME,
# so $work/orvel/Orvel.ini is its settings file.
work=$(mktemp -d)
xvfb=
saver=
# Nothing is left running, also when the saver ended early or the output
# went to a reader that stopped early (| head).
trap 'kill $saver $xvfb 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP PIPE

xvfb_with_desktop() {
  local size=$1
  # A display number of its own: Xvfb writes the one it took to the pipe.
  exec 3> >(cat > "$work/display")
  Xvfb -displayfd 3 -screen 0 "${size}x24" -noreset -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  exec 3>&-
  for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=:$(cat "$work/display") XDG_CONFIG_HOME=$work
  convert -size "$size" gradient:'rgb(30,60,90)-rgb(120,90,60)' -depth 8 "$work/desktop.png"
  # display sets the root picture and exits with status 1 all the same.
  display -window root "$work/desktop.png" || true
}

saver_on_xvfb() {
  local size=$1 orvel=$2
  xvfb_with_desktop "$size"
  "$orvel" /s &
  saver=$!
}

end_saver_and_xvfb() {
  xdotool key space
  wait "$saver" || true
  saver=
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null || true
  xvfb=
}
