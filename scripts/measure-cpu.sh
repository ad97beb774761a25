#!/usr/bin/env bash
# The CPU use of `orvel /s` and of the X server on a fresh Xvfb of the given
# size, each in % of one core over 20 seconds.
#   usage: scripts/measure-cpu.sh WxH [path/to/orvel]
set -euo pipefail
size=${1:?usage: scripts/measure-cpu.sh WxH [orvel]}
orvel=${2:-build/linux-release/orvel}
work=$(mktemp -d)
xvfb=
saver=
# Nothing is left running, also when the saver ended early or the output
# went to a reader that stopped early (| head).
trap 'kill $saver $xvfb 2>/dev/null; rm -rf "$work"' EXIT
trap 'exit 1' INT TERM HUP PIPE

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
"$orvel" /s &
saver=$!
sleep 3

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
o1=$(ticks $saver); x1=$(ticks $xvfb); t1=$(date +%s.%N)
sleep 20
o2=$(ticks $saver); x2=$(ticks $xvfb); t2=$(date +%s.%N)
python3 -c "
hz, e = $(getconf CLK_TCK), $t2 - $t1
print('$size: orvel %.2f%%, X server %.2f%% of one core' % (100 * ($o2 - $o1) / hz / e, 100 * ($x2 - $x1) / hz / e))"

xdotool key space
wait $saver
saver=
kill $xvfb
wait $xvfb 2>/dev/null || true
xvfb=
