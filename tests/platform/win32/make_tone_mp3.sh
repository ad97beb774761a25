#!/bin/sh
# Makes tone_mp3.h: a five-second MP3 file (a quiet 440 Hz tone, 8 kHz mono,
# 8 kbit/s) as a byte array, for the media tests that run under Wine and
# cannot call an encoder themselves. Needs sox, lame and xxd.
set -eu
cd "$(dirname "$0")"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
sox -n -r 8000 -c 1 "$work/tone.wav" synth 5 sine 440 vol 0.2
lame --quiet -b 8 -m m --resample 8 "$work/tone.wav" "$work/tone.mp3"
{
  echo "// Made by make_tone_mp3.sh: a five-second MP3 file (440 Hz, 8 kHz mono)."
  echo "#pragma once"
  echo
  echo "namespace orvel {"
  echo
  echo "// clang-format off"
  echo "inline constexpr unsigned char kToneMp3[] = {"
  xxd -i < "$work/tone.mp3"
  echo "};"
  echo "// clang-format on"
  echo
  echo "}  // namespace orvel"
} > tone_mp3.h
