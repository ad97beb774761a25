#!/bin/sh
# Runs a Windows program under Wine: wine-run.sh PREFIX PROGRAM [ARGS...].
# PREFIX is the Wine prefix of the build folder; it is created on first use
# (about 7 s), under a lock so that tests started side by side create it
# once. Wine's own diagnostics are off; the program's exit code comes back.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" DISPLAY="${DISPLAY-}"
if [ ! -f "$prefix/.orvel-ready" ]; then
  mkdir -p "$prefix"
  (
    flock 9
    if [ ! -f "$prefix/.orvel-ready" ]; then
      wineboot --init >/dev/null 2>&1
      wineserver --wait
      touch "$prefix/.orvel-ready"
    fi
  ) 9>"$prefix.lock"
fi
exec wine "$@"
