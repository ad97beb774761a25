#!/usr/bin/env bash
# The memory of `orvel /s` on a fresh Xvfb of the given size after it has run
# for the given number of seconds: its peak and present resident size (VmHWM,
# VmRSS), the summary of /proc/PID/smaps_rollup and the mappings that hold
# 512 kB or more, added up by what they map.
#   usage: scripts/measure-memory.sh WxH SECONDS [Orvel.ini | --slideshow] [path/to/orvel]
# Without a settings file the saver shows the desktop. --slideshow makes four
# 6000x4000 JPEGs (24 megapixels each) and a settings file that shows them
# fitted to the screen, one after another every second.
set -euo pipefail
usage="usage: scripts/measure-memory.sh WxH SECONDS [Orvel.ini | --slideshow] [orvel]"
size=${1:?$usage}
seconds=${2:?$usage}
settings=${3:-}
orvel=${4:-build/linux-release/orvel}
source "$(dirname "$0")/saver-on-xvfb.sh"

mkdir -p "$work/orvel"
if [ "$settings" = --slideshow ]; then
  mkdir "$work/pictures"
  colours=('rgb(200,40,40)-rgb(40,40,200)' 'rgb(40,160,40)-rgb(240,220,60)'
           'rgb(20,20,20)-rgb(230,230,230)' 'rgb(90,30,120)-rgb(250,150,40)')
  for i in "${!colours[@]}"; do
    convert -size 6000x4000 gradient:"${colours[$i]}" -quality 90 "$work/pictures/picture-$i.jpg"
  done
  # Shift-JIS key names; the numbers read as: fitted to the screen, in name
  # order, a new picture every second, every picture kind, no music.
  python3 - "$work/pictures" "$work/orvel/Orvel.ini" <<'EOF'
import sys
folder, ini = sys.argv[1], sys.argv[2]
keys = [("画像ﾁｪﾝｼﾞ", "0"), ("画像のｻｲｽﾞ", "1"), ("ｲﾝﾀｰﾊﾞﾙ", "1"), ("画像のﾌｫﾙﾀﾞ", folder),
        ("画像種類_0", "1"), ("画像種類_1", "1"), ("画像種類_2", "1"), ("画像種類_3", "1"),
        ("BGM区分", "0")]
text = "[Section]\r\n" + "".join(f"{k}={v}\r\n" for k, v in keys)
open(ini, "wb").write(text.encode("cp932"))
EOF
elif [ -n "$settings" ]; then
  cp "$settings" "$work/orvel/Orvel.ini"
fi

saver_on_xvfb "$size" "$orvel"
sleep "$seconds"

echo "$size, $seconds s, ${settings:-desktop}:"
grep -E '^(VmHWM|VmRSS|RssAnon|RssFile|RssShmem)' "/proc/$saver/status"
echo "smaps_rollup:"
grep -E '^(Rss|Pss|Anonymous|Shared_Clean|Shared_Dirty|Private_Clean|Private_Dirty):' \
  "/proc/$saver/smaps_rollup" | sed 's/^/  /'
echo "mappings of 512 kB or more (Rss in kB, by what they map):"
awk '/^[0-9a-f]+-[0-9a-f]+ / { name = (NF >= 6) ? $6 : "[anonymous]"; next }
     /^Rss:/ { rss[name] += $2 }
     END { for (n in rss) if (rss[n] >= 512) printf "  %8d  %s\n", rss[n], n }' \
  "/proc/$saver/smaps" | sort -rn

end_saver_and_xvfb
