# What the GUI tests share, sourced once $orvel is set with the commands the
# test needs: a work folder and the processes in `started`, removed at the
# end; pass/fail counting; one client that keeps the display up.

if [ -z "${DISPLAY:-}" ]; then
  echo "FAIL: DISPLAY is not set; run this under xvfb-run (ctest -L gui)." >&2
  exit 1
fi
for needed in "$@"; do
  command -v "$needed" >/dev/null || { echo "FAIL: $needed is missing." >&2; exit 1; }
done
if [ -e "$(dirname "$orvel")/Orvel.ini" ]; then
  echo "FAIL: $(dirname "$orvel")/Orvel.ini would take the place of the test's settings." >&2
  exit 1
fi

work=$(mktemp -d)
started=()
cleanup() {
  for pid in "${started[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
pass() { echo "ok: $*"; }

# Runs the command every tenth of a second until it succeeds, for at most `seconds`.
wait_until() { # seconds command...
  local tries=$(($1 * 10))
  shift
  for _ in $(seq "$tries"); do
    "$@" && return 0
    sleep 0.1
  done
  return 1
}

# The process ends with status 0 within `seconds` of `how`; 1 when it still runs.
ends_with_0() { # pid seconds how
  if ! wait_until "$2" eval "! kill -0 $1 2>/dev/null"; then
    fail "$3: it still runs $2 seconds later"
    return 1
  fi
  wait "$1"
  local status=$?
  [ "$status" -eq 0 ] && pass "$3 ended it with status 0" || fail "$3: it ended with status $status"
}

# How many pixels of an image are not black (convert writes large counts as 2.0736e+06).
not_black() {
  printf '%.0f\n' "$(convert "$1" -fill white +opaque black -format '%[fx:round(mean*w*h)]' info:)"
}

windows_titled() { xdotool search --name "^$1\$" 2>/dev/null | wc -l; }

# Starts orvel (`saver`); waits up to 10 s for its window, then 1 s for frames.
start_saver() {
  "$orvel" "$@" &
  saver=$!
  started+=("$saver")
  wait_until 10 eval '[ "$(windows_titled Orvel_Main)" -ge 1 ]' && sleep 1 && return 0
  fail "no window titled Orvel_Main after starting orvel $*"
  return 1
}

# The last line of a test: its outcome, as its status.
finish() {
  if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
  fi
  echo "all checks passed"
  exit 0
}

# An X server started by xvfb-run resets when its last client leaves, and
# forgets the root window's picture: one client stays connected throughout.
xdotool search --sync --name "orvel test: keeps the display up" >/dev/null 2>&1 &
started+=($!)
