#!/usr/bin/env bash
# The settings dialog under xvfb-run (no window manager), orvel-tool beside orvel: mouse,
# keyboard, the folder chooser and list, what 設定, ｷｬﾝｾﾙ and Escape write, one copy only.
set -uo pipefail

orvel=${1:?usage: settings_dialog_test.sh path/to/orvel}
tool="$(dirname "$orvel")/orvel-tool"

source "$(dirname "$0")/common.sh" xdotool xwininfo import convert compare iconv

export HOME="$work/home" XDG_CONFIG_HOME="$work/config"
# The file chooser keeps its own settings; here they live in memory only.
export GSETTINGS_BACKEND=memory
mkdir -p "$HOME" "$XDG_CONFIG_HOME/orvel"
ini="$XDG_CONFIG_HOME/orvel/Orvel.ini"
title='Orvelの設定'

layout=$("$tool" dialog-layout) || { echo "FAIL: orvel-tool dialog-layout" >&2; exit 1; }
rect_of() { awk -v n="$1" '$1 == n { print $2, $3, $4, $5 }' <<<"$layout"; }

# Starts the dialog: its pid in $dialog, its window in $win, the client area at $cx, $cy.
start_dialog() {
  "$orvel" /c &
  dialog=$!
  started+=("$dialog")
  win=$(timeout 10 xdotool search --sync --onlyvisible --name "^${title}\$" | head -1)
  [ -n "$win" ] || { fail "no window titled $title after starting orvel /c"; return 1; }
  read -r cx cy < <(xwininfo -id "$win" |
    awk '/Absolute upper-left X/ { x = $4 } /Absolute upper-left Y/ { print x, $4 }')
  sleep 0.5
}

# The screen point at the centre of a control, or at (dx, dy) into it.
point_in() {
  read -r x y w h < <(rect_of "$1")
  local dx=${2:-$((w / 2))} dy=${3:-$((h / 2))}
  echo "$((cx + x + dx)) $((cy + y + dy))"
}
click() { # control [button [dx dy]]
  xdotool mousemove $(point_in "$1" "${@:3}") click "${2:-1}"
  sleep 0.3
}

dialog_ends() { ends_with_0 "$dialog" 5 "$1 in the dialog"; }

# The dark (text) pixels of the region WxH+X+Y of the screen, as a mask.
ink_mask() { convert "$1" -crop "$2" +repage -colorspace Gray -threshold 45% "$3"; }

# --- The settings the dialog opens with, in Shift-JIS: ｲﾝﾀｰﾊﾞﾙ=12. -------
printf '[Section]\r\n\xb2\xdd\xc0\xb0\xca\xde\xd9=12\r\n' >"$ini"
cp "$ini" "$work/opened.ini"

# --- Twelve pictures: two bitmaps, one GIF and nine JPEGs. ---------------
pictures="$work/pictures"
mkdir -p "$pictures"
convert -size 40x30 xc:'rgb(200,40,40)' -type TrueColor "BMP3:$pictures/a.bmp"
convert -size 40x30 xc:'rgb(40,200,40)' -type TrueColor "BMP3:$pictures/b.BMP"
convert -size 40x30 xc:'rgb(40,40,200)' "$pictures/c.gif"
for i in 1 2 3 4 5 6 7 8 9; do
  convert -size 40x30 xc:"rgb(250,250,$((i * 20)))" -quality 100 "$pictures/j$i.jpg"
done
# One of every kind would be listed; this one matches no kind.
convert -size 10x10 xc:white "$pictures/not-a-kind.png"

# --- Cancel after changes writes nothing. --------------------------------
if start_dialog; then
  click 'lbl_Rdm_Seq(1)' 3
  click 'lbl_Kind(0)'
  click 'lbl_Size(0)'
  # A press ended by its window's hiding or losing the keyboard runs ｷｬﾝｾﾙ on nothing later.
  root=$(xwininfo -root | awk '/Window id:/ { print $4 }')
  for lose in "hiding the window:windowunmap --sync $win mouseup 1 windowmap --sync $win" \
    "the keyboard going elsewhere:mousemove 5 5 windowfocus $root sleep 0.3 mouseup 1"; do
    xdotool windowfocus --sync "$win" mousemove $(point_in 'lbl_Button(3)') mousedown 1
    xdotool ${lose#*:}
    click Pic_C 1 5 5
    kill -0 "$dialog" 2>/dev/null && pass "a press ended by ${lose%%:*} runs nothing later" \
      || fail "a press ended by ${lose%%:*} ran ｷｬﾝｾﾙ later"
  done
  xdotool mousemove $(point_in 'lbl_Button(3)') mousedown 3 mouseup 3
  dialog_ends "ｷｬﾝｾﾙ"
  cmp -s "$ini" "$work/opened.ini" && pass "ｷｬﾝｾﾙ left the settings file as it was" \
    || fail "ｷｬﾝｾﾙ changed the settings file"
fi

# --- Escape closes without writing; a saver started meanwhile ends. ------
if start_dialog; then
  timeout 5 "$orvel" /s
  rc=$?
  saver=$(xdotool search --name '^Orvel_Main$' 2>/dev/null | wc -l)
  [ "$rc" -eq 0 ] && [ "$saver" -eq 0 ] && pass "orvel /s ended at once while the dialog is open" \
    || fail "orvel /s while the dialog is open: status $rc, $saver saver windows"
  timeout 5 "$orvel" /c
  rc=$?
  [ "$rc" -eq 0 ] && [ "$(windows_titled "$title")" -eq 1 ] && pass "a second orvel /c ended at once" \
    || fail "a second orvel /c: status $rc, $(windows_titled "$title") dialog windows"
  click 'lbl_Rdm_Seq(1)'
  xdotool windowfocus --sync "$win" key Escape
  dialog_ends "Escape"
  cmp -s "$ini" "$work/opened.ini" && pass "Escape left the settings file as it was" \
    || fail "Escape changed the settings file"
fi

# --- A folder chosen by keyboard, its pictures listed, then saved. -------
if start_dialog; then
  click 'lbl_Rdm_Seq(1)' 3
  click 'lbl_Button(0)'
  chooser=$(timeout 10 xdotool search --sync --onlyvisible --name 'ﾌｫﾙﾀﾞをｸﾘｯｸ' | head -1)
  if [ -z "$chooser" ]; then
    fail "no folder chooser after pressing ﾌｫﾙﾀﾞで指定..."
  else
    xdotool windowfocus --sync "$chooser"
    sleep 0.5
    xdotool key ctrl+l
    sleep 0.3
    xdotool type --delay 20 "$pictures"
    sleep 0.5
    xdotool key Return
    # A slow machine may still be completing the path: Return again.
    for i in $(seq 150); do
      xwininfo -id "$chooser" 2>/dev/null | grep -q IsViewable || break
      [ $((i % 30)) -eq 0 ] && xdotool key Return
      sleep 0.1
    done

    # The count reads 12: the same ink as the interval's 12 in a box of the same font.
    read -r kx ky kw kh < <(rect_of lbl_Kei)
    read -r sx sy sw sh < <(rect_of lbl_Sec)
    for _ in $(seq 20); do
      sleep 0.5
      import -window root "$work/listed.png"
      ink_mask "$work/listed.png" "20x13+$((cx + kx + kw - 22))+$((cy + ky + 2))" "$work/count.png"
      ink_mask "$work/listed.png" "20x13+$((cx + sx + sw - 22))+$((cy + sy + 2))" "$work/twelve.png"
      off=$(compare -metric AE "$work/count.png" "$work/twelve.png" null: 2>&1 | cut -d' ' -f1)
      inked=$(convert "$work/count.png" -negate -format '%[fx:round(mean*w*h)]' info:)
      [ "$inked" -gt 10 ] && [ "${off%.*}" -le 3 ] && break
    done
    [ "$inked" -gt 10 ] && [ "${off%.*}" -le 3 ] && pass "the count shows 12" \
      || fail "the count does not read as 12 ($off pixels differ, $inked inked)"

    # The kinds are scanned bmp, gif, jpg in turn; the preview shows the chosen entry.
    read -r lx ly lw lh < <(rect_of List_1)
    read -r px py pw ph < <(rect_of Pic_K)
    # The preview's colour once it is no longer `$1` (decoded and drawn).
    preview_colour() {
      local colour
      for _ in $(seq 20); do
        import -window root "$work/preview.png"
        colour=$(convert "$work/preview.png" -crop "1x1+$((cx + px + 30))+$((cy + py + 30))" \
          -format '%[pixel:p]' info:)
        [ "$colour" != "$1" ] && break
        sleep 0.25
      done
      echo "$colour"
    }
    click List_1 1 20 10
    first=$(preview_colour 'srgb(255,255,255)')
    xdotool key End
    last=$(preview_colour "$first")
    case "$first" in
      *'200,40,40'* | *'40,200,40'*) pass "the first entry is a bitmap ($first)" ;;
      *) fail "the first entry's preview is $first, not a bitmap's colour" ;;
    esac
    case "$last" in
      *'250,250,'*) pass "the last entry is a JPEG ($last)" ;;
      *) fail "the last entry's preview is $last, not a JPEG's colour" ;;
    esac
  fi

  # Pressed on 設定, released far from it: it still saves and closes.
  xdotool mousemove $(point_in 'lbl_Button(2)') mousedown 1
  sleep 0.2
  xdotool mousemove $(point_in Pic_C 5 5) mouseup 1
  dialog_ends "設定"
  saved=$(iconv -f SHIFT_JIS -t UTF-8 "$ini" 2>/dev/null | tr -d '\r')
  grep -qx "画像のﾌｫﾙﾀﾞ=$pictures" <<<"$saved" && grep -qx '画像ﾁｪﾝｼﾞ=1' <<<"$saved" \
    && pass "設定 wrote the folder and the order in Shift-JIS" || fail "設定 wrote: $saved"
fi

finish
