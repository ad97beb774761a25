#!/bin/sh
# Runs a Windows program under Wine: wine-run.sh PREFIX PROGRAM [ARGS...].
# PREFIX is the Wine prefix of the build folder, created on first use
# (about 7 s). Wine's own diagnostics are off; the program's exit code
# comes back.
#
# A Wine session is a server and helper processes (services, the desktop)
# that outlive the program by seconds. Started by the program, they would
# hold its output open, and ctest waits for that; so the session is started
# here with no output of ours, and kept a while for the programs that
# follow. A lock keeps tests run side by side from doing either twice.
set -eu
prefix=$1
shift
export WINEPREFIX="$prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
mkdir -p "$prefix"
(
  flock 9
  if [ ! -f "$prefix/.orvel-ready" ]; then
    wineboot --init </dev/null >/dev/null 2>&1 9>&-
    wineserver --wait
    touch "$prefix/.orvel-ready"
  fi
  # (What starts here must not hold the lock: 9>&-.)
  if wineserver --persistent=10 </dev/null >/dev/null 2>&1 9>&-; then  # fails when one runs
    wine cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&-
  fi
) 9>"$prefix.lock"
exec wine "$@"
