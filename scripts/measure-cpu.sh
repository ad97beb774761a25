#!/usr/bin/env bash
# The CPU use of `orvel /s` and of the X server on a fresh Xvfb of the given
# size, each in % of one core over 20 seconds.
#   usage: scripts/measure-cpu.sh WxH [path/to/orvel]
set -euo pipefail
size=${1:?usage: scripts/measure-cpu.sh WxH [orvel]}
orvel=${2:-build/linux-release/orvel}
source "$(dirname "$0")/saver-on-xvfb.sh"

saver_on_xvfb "$size" "$orvel"
sleep 3

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
o1=$(ticks $saver); x1=$(ticks $xvfb); t1=$(date +%s.%N)
sleep 20
o2=$(ticks $saver); x2=$(ticks $xvfb); t2=$(date +%s.%N)
python3 -c "
hz, e = $(getconf CLK_TCK), $t2 - $t1
print('$size: orvel %.2f%%, X server %.2f%% of one core' % (100 * ($o2 - $o1) / hz / e, 100 * ($x2 - $x1) / hz / e))"

end_saver_and_xvfb
