// The simple sound player on Windows: the system's PlaySoundW, looping a
// WAV file by itself.
#pragma once

#include "platform/platform.h"

namespace orvel {

// A file that cannot be played stays silent: the system's default sound is
// never played in its place (over and over, as the loop would), and the
// name is always taken as a file's, never as a sound event's.
class Win32SoundPlayer : public SoundPlayer {
 public:
  ~Win32SoundPlayer() override;

  // The wave output devices (waveOutGetNumDevs).
  int OutputDeviceCount() override;
  void PlayLooping(const std::string& file) override;
  void Stop() override;
};

}  // namespace orvel
