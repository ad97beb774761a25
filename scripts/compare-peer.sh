#!/usr/bin/env bash
# Orvel beside the nearest peer, on one fresh Xvfb of the given size: `orvel
# /s`, `orvel -root` (as xscreensaver runs it) and xscreensaver's `distort
# -root -number 10 -radius 40`, one after another, each settled for 5 s and
# then watched for the given seconds. For each: its CPU and the X server's
# in % of one core, its voluntary context switches a second (all threads),
# and its peak resident memory; then Orvel's figures as ratios of the
# peer's. Where the benchmarks are built (the linux preset), the bare client
# runs too: ten put-images a frame at 30 frames a second and nothing else,
# the least that drawing like the saver costs on this machine (BARE_CLIENT
# names another build of it). With ORVEL_SCR=path/to/Orvel.scr, `Orvel.scr
# /s` under 64-bit Wine is measured too (its own process, not wineserver's).
#   usage: scripts/compare-peer.sh WxH [SECONDS] [path/to/orvel]
set -euo pipefail
usage="usage: scripts/compare-peer.sh WxH [SECONDS] [orvel]"
size=${1:?$usage}
seconds=${2:-20}
orvel=${3:-build/linux-release/orvel}
distort=/usr/libexec/xscreensaver/distort
bare=${BARE_CLIENT:-build/linux/orvel_bare_client}
[ -x "$distort" ] || { echo "no $distort: apt-get install xscreensaver-data" >&2; exit 1; }
source "$(dirname "$0")/saver-on-xvfb.sh"

xvfb_with_desktop "$size"
# Time on a processor in ns, of every thread alive now: exact, where the
# clock ticks of /proc/PID/stat would count a few dozen a run.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{n += $1} END {print n}'; }
# Voluntary switches of every thread that is alive now.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches/ {n += $2} END {print n}'; }
peak_kb() { awk '/^VmHWM/ {print $2}' "/proc/$1/status"; }

# measure NAME PID: one row of the table, kept in $rows for the ratios.
rows=""
measure() {
  local name=$1 pid=$2
  sleep 5
  local p1 x1 s1 t1 p2 x2 s2 t2
  p1=$(cpu_ns "$pid"); x1=$(cpu_ns "$xvfb"); s1=$(switches "$pid"); t1=$(date +%s.%N)
  sleep "$seconds"
  p2=$(cpu_ns "$pid"); x2=$(cpu_ns "$xvfb"); s2=$(switches "$pid"); t2=$(date +%s.%N)
  rows+=$(python3 -c "
e = $t2 - $t1
print('%s|%.2f|%.2f|%.1f|%.1f' % ('$name', ($p2 - $p1) / 1e7 / e, ($x2 - $x1) / 1e7 / e,
                                   ($s2 - $s1) / e, $(peak_kb "$pid") / 1024))")$'\n'
}

stop() {
  kill -TERM "$1" 2>/dev/null || true
  wait "$1" 2>/dev/null || true
}

"$orvel" /s &
saver=$!
measure "orvel /s" "$saver"
xdotool key space
wait "$saver" || true
saver=

"$orvel" -root &
saver=$!
measure "orvel -root" "$saver"
stop "$saver"
saver=

if [ -x "$bare" ]; then
  "$bare" &
  saver=$!
  measure "bare client" "$saver"
  stop "$saver"
  saver=
fi

"$distort" -root -number 10 -radius 40 &
saver=$!
measure "distort" "$saver"
stop "$saver"
saver=

if [ -n "${ORVEL_SCR:-}" ]; then
  export WINEPREFIX=$work/wine WINEDEBUG=-all
  /usr/lib/wine/wine64 wineboot --init >/dev/null 2>&1
  wineserver --wait
  /usr/lib/wine/wine64 "$ORVEL_SCR" /s &
  sleep 3
  scr=$(pgrep -f 'Orvel\.scr' | head -n 1)
  measure "Orvel.scr /s" "$scr"
  xdotool key space
  sleep 1
  wineserver -k || true
fi

printf '%s' "$rows" | python3 -c "
import sys
rows = [r.split('|') for r in sys.stdin.read().splitlines()]
print('$size, %s s each' % $seconds)
print('%-14s %9s %9s %12s %9s' % ('program', 'CPU %', 'X %', 'wake-ups/s', 'peak MB'))
for name, *v in rows:
    print('%-14s %9s %9s %12s %9s' % (name, *v))
peer = next(list(map(float, v)) for name, *v in rows if name == 'distort')
for name, *v in rows:
    if name != 'distort':
        v = list(map(float, v))
        print('%-14s ' % name + 'of distort: CPU %.2f, X %.2f, peak memory %.2f' % (
            v[0] / max(peer[0], 1e-9), v[1] / max(peer[1], 1e-9), v[3] / peer[3]))
"
kill "$xvfb"
wait "$xvfb" 2>/dev/null || true
xvfb=
