// What the Windows sound tests need: whether there is an audio output, and a sound file.
#pragma once

#include <windows.h>

#include <mmsystem.h>  // after windows.h

#include <cstdint>
#include <string>
#include <utility>

namespace orvel {

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
  for (const auto& [value, bytes] :
       {std::pair{16u, 4}, {1u, 2}, {1u, 2}, {8000u, 4}, {16000u, 4}, {2u, 2}, {16u, 2}})
    put(value, bytes);
  wav += "data";
  put(samples * 2, 4);
  for (std::uint32_t i = 0; i < samples; ++i)
    put(static_cast<std::uint16_t>((i / 8) % 2 == 0 ? 2000 : -2000), 2);
  return wav;
}

}  // namespace orvel
