#!/usr/bin/env bash
# The saver window under xvfb-run: the desktop under the orbs, the end on a key, one copy only.
set -uo pipefail

orvel=${1:?usage: saver_window_test.sh path/to/orvel}

source "$(dirname "$0")/common.sh" xdotool import convert compare display

read -r W H < <(xdotool getdisplaygeometry)

# How many pixels differ between two images of one size (compare writes 1.31072e+06).
differing() { printf '%.0f\n' "$(compare -metric AE "$1" "$2" null: 2>&1 | cut -d' ' -f1)"; }
# The share of pixels of a region WxH+X+Y that have exactly the colour.
share_of() {
  convert "$1" -crop "$2" +repage -fill black +opaque "$3" -fill white -opaque "$3" \
    -format '%[fx:mean]' info:
}
saver_windows() { windows_titled Orvel_Main; }

key_ends_saver() { xdotool key "$1" && ends_with_0 "$saver" 2 "the key $1"; }

export XDG_CONFIG_HOME="$work/config"
mkdir -p "$XDG_CONFIG_HOME/orvel"

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
  for _ in $(seq 10); do
    import -window root "$work/saver.png"
    changed=$(differing "$work/saver.png" "$work/desktop.png")
    [ "$changed" -lt $((W * H / 20)) ] && break
    sleep 1
  done
  convert "$work/desktop.png" "$work/saver.png" -compose minus_src -composite "$work/lower.png"
  convert "$work/saver.png" "$work/desktop.png" -compose minus_src -composite "$work/raised.png"
  darker=$(not_black "$work/lower.png")
  tinted=$(not_black "$work/raised.png")
  # Ten orbs of about 1257 pixels each cover well under 5% of the screen.
  [ "$changed" -lt $((W * H / 20)) ] && pass "the background is the desktop away from the orbs" \
    || fail "$changed pixels differ from the desktop"
  [ "$tinted" -ge 2000 ] && pass "tinted orb pixels are there" || fail "only $tinted tinted pixels"
  [ "$darker" -eq 0 ] && pass "no pixel is darker than the desktop" \
    || fail "$darker pixels are darker than the desktop"

  timeout 5 "$orvel" /s
  rc=$?
  [ "$rc" -eq 0 ] && [ "$(saver_windows)" -eq 1 ] && pass "a second orvel /s ended by itself" \
    || fail "a second orvel /s did not end by itself (status $rc, $(saver_windows) windows)"
  key_ends_saver space
fi

# --- A picture folder in the settings file: the first picture, fitted. --
mkdir -p "$work/pictures"
convert -size 300x400 xc:'rgb(200,60,40)' -type TrueColor "BMP3:$work/pictures/tall.bmp"
# The key 画像のﾌｫﾙﾀﾞ (the picture folder) in Shift-JIS.
printf '[Section]\r\n\x89\xe6\x91\x9c\x82\xcc\xcc\xab\xd9\xc0\xde=%s\r\n' "$work/pictures" \
  >"$XDG_CONFIG_HOME/orvel/Orvel.ini"
# A picture higher than wide fills the screen's height, centred.
dw=$(((300 * H + 200) / 400))
x0=$(((W - dw) / 2))
if start_saver /s; then
  import -window root "$work/slide.png"
  band=$(share_of "$work/slide.png" "$((x0 - 20))x${H}+10+0" black)
  picture=$(share_of "$work/slide.png" "$((dw - 40))x$((H - 40))+$((x0 + 20))+20" 'rgb(200,60,40)')
  awk "BEGIN { exit !($band > 0.9) }" && pass "black to the left of the fitted picture" \
    || fail "the band left of the picture is not black (share $band)"
  awk "BEGIN { exit !($picture > 0.9) }" && pass "the picture is shown, fitted and centred" \
    || fail "the picture is not where it belongs (share $picture)"
  key_ends_saver a
fi

# --- A first picture slower than the 5 s it is awaited: the window is there,
# titled but not shown; a second orvel /s ends at once, the first shows.
ORVEL_TEST_DECODE_DELAY_MS=8000 start_saver /s
shown=$(xdotool search --onlyvisible --name '^Orvel_Main$' 2>/dev/null | wc -l)
timeout 5 "$orvel" /s
rc=$?
[ "$shown" -eq 0 ] && [ "$rc" -eq 0 ] && [ "$(saver_windows)" -eq 1 ] && kill -0 "$saver" \
  && pass "a second orvel /s during the first picture's wait ended by itself" \
  || fail "a second orvel /s during the first picture's wait: status $rc, $(saver_windows) windows, $shown shown"
wait_until 10 eval '[ -n "$(xdotool search --onlyvisible --name "^Orvel_Main\$" 2>/dev/null)" ]'
sleep 1
key_ends_saver b

finish
