// A WAV file as background music: handed to the platform's sound player,
// which loops it by itself until it is stopped.
#pragma once

#include "platform/platform.h"
#include "settings/saver_settings.h"

namespace orvel {

class WavPlayer {
 public:
  WavPlayer(SoundPlayer& sound, const SaverSettings& settings)
      : sound_(sound), settings_(settings) {}

  // Plays the file over and over; nothing when the machine has no audio
  // output.
  void WavStart();
  // Stops whatever the sound player plays; harmless when it plays nothing.
  void WavStop();

 private:
  SoundPlayer& sound_;
  const SaverSettings& settings_;
};

}  // namespace orvel
