#!/bin/sh
# Runs a Windows program under Wine: wine-run.sh PREFIX PROGRAM [ARGS...].
# PREFIX is the Wine prefix of the build folder, created on first use
# (about 7 s). Wine's own diagnostics are off; the program's exit code
# comes back.
#
# The loader is the one of the program's architecture, read from its PE
# header: /usr/lib/wine/wine64 for x64, /usr/lib/wine/wine for x86 (plain
# `wine` is the 32-bit loader wherever that is installed, and an x64
# program then depends on its hand-over to the other). A program named
# without a path (cmd.exe) is Wine's own and runs 64-bit. The prefix is a
# 64-bit one, where x86 programs run as on 64-bit Windows.
#
# The prefix is Wine's as it comes: no font replacement, so the tests see
# the faces a user's system has.
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

# The machine field of a PE file's header, in hex ("8664", "14c"); empty
# for anything else.
pe_machine() {
  [ -f "$1" ] || return 0
  header=$(od -An -tu4 -j60 -N4 "$1" 2>/dev/null | tr -d ' ')
  [ -n "$header" ] || return 0
  [ "$(od -An -c -j"$header" -N2 "$1" 2>/dev/null | tr -d ' ')" = PE ] || return 0
  od -An -tx2 -j$((header + 4)) -N2 "$1" | tr -d ' ' | sed 's/^0*//'
}

loader_for() {
  case $1 in
    14c) loader=/usr/lib/wine/wine ;;
    *) loader=/usr/lib/wine/wine64 ;;
  esac
  [ -x "$loader" ] && return 0
  if [ ! -e /usr/lib/wine/wine ] && [ ! -e /usr/lib/wine/wine64 ]; then
    loader=wine  # not Debian's layout: that system's wine picks
    return 0
  fi
  echo "wine-run.sh: $loader is missing; Debian has it in wine64 and, with the i386" \
    "architecture added, wine32:i386 (scripts/install-deps.sh installs both)" >&2
  exit 127
}

loader_for 8664
wine64=$loader
loader_for "$(pe_machine "$1")"

mkdir -p "$prefix"
(
  flock 9
  # A prefix of earlier runs had the dialog's face mapped to another font
  # and could be a 32-bit one: it is made again.
  if [ -f "$prefix/.orvel-ready" ]; then
    wineserver -k 9>&- || true
    rm -rf "$prefix" && mkdir -p "$prefix"
  fi
  if [ ! -f "$prefix/.orvel-prefix" ]; then
    WINEARCH=win64 "$wine64" wineboot.exe --init </dev/null >/dev/null 2>&1 9>&-
    wineserver --wait
    touch "$prefix/.orvel-prefix"
  fi
  # (What starts here must not hold the lock: 9>&-.)
  if wineserver --persistent=10 </dev/null >/dev/null 2>&1 9>&-; then  # fails when one runs
    "$wine64" cmd.exe /c exit </dev/null >/dev/null 2>&1 9>&-
  fi
) 9>"$prefix.lock"
exec "$loader" "$@"
