// What the Windows sound tests need: whether the machine has an audio
// output at all, and sound files written into a test's folder.
#pragma once

#include <windows.h>
// After windows.h, which the multimedia header needs.
#include <mmsystem.h>

#include <cstdint>
#include <string>

namespace orvel {

// Under Wine the audio goes to the desktop's sound server; a build machine
// has none until one is started (a PulseAudio null sink will do).
inline constexpr const char* kNoAudioOutput =
    "no audio output: run the tests with a sound server, such as "
    "scripts/with-null-audio.sh, which starts a PulseAudio null sink";

inline bool HasAudioOutput() { return waveOutGetNumDevs() > 0; }

// A WAV file of `milliseconds` of a quiet tone, 8 kHz mono, 16 bits.
inline std::string ToneWav(int milliseconds) {
  const std::uint32_t samples = 8u * static_cast<std::uint32_t>(milliseconds);
  std::string wav;
  auto put = [&wav](std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) wav += static_cast<char>((value >> (8 * i)) & 0xFF);
  };
  wav += "RIFF";
  put(36 + samples * 2, 4);
  wav += "WAVEfmt ";
  put(16, 4);
  put(1, 2);      // PCM
  put(1, 2);      // mono
  put(8000, 4);   // samples per second
  put(16000, 4);  // bytes per second
  put(2, 2);      // bytes per sample
  put(16, 2);     // bits per sample
  wav += "data";
  put(samples * 2, 4);
  for (std::uint32_t i = 0; i < samples; ++i) {
    // A 500 Hz square wave, well below full scale.
    put(static_cast<std::uint16_t>((i / 8) % 2 == 0 ? 2000 : -2000), 2);
  }
  return wav;
}

}  // namespace orvel
