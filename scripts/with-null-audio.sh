#!/bin/sh
# Runs a command with a sound server to play into: with-null-audio.sh CMD...
# Where none answers (a build machine), a PulseAudio of its own is started
# with a null sink as its only output, in a private runtime folder, and
# stopped again when the command ends. Wine plays into it, so the Windows
# sound tests have an audio output. The command's exit code comes back.
set -eu
if pactl info >/dev/null 2>&1; then
  exec "$@"
fi
runtime=$(mktemp -d)
export XDG_RUNTIME_DIR="$runtime"
stop() {
  pulseaudio --kill >/dev/null 2>&1 || true
  rm -rf "$runtime"
}
trap stop EXIT
# As root PulseAudio warns that it is meant for a user's session; it runs
# all the same.
pulseaudio --daemonize=yes --exit-idle-time=-1 -n \
  --load="module-null-sink sink_name=orvel_null" \
  --load="module-native-protocol-unix" >/dev/null 2>&1
status=0
"$@" || status=$?
exit $status
