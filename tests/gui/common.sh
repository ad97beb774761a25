# What the GUI tests share, sourced after they have set $orvel: the checks
# before they start, a work folder removed at the end together with every
# process they started (listed in `started`), pass/fail counting, and one
# client that keeps the display up.
# usage: source common.sh TOOL...   (the commands the test needs)

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

# An X server started by xvfb-run resets when its last client leaves, and
# forgets the root window's picture: one client stays connected throughout.
xdotool search --sync --name "orvel test: keeps the display up" >/dev/null 2>&1 &
started+=($!)
