// An MP3 file as background music: opened under the alias "MP3Play" at the
// start, checked once a second and played again from its beginning whenever
// it is not playing, stopped and closed at the end.
#pragma once

#include "music/mci_channel.h"
#include "settings/saver_settings.h"

namespace orvel {

// The reply buffer of the MP3 mode query: at most 29 characters.
inline constexpr std::size_t kMp3ModeBuffer = 30;

class MusicFilePlayer {
 public:
  MusicFilePlayer(MciChannel& channel, const SaverSettings& settings)
      : channel_(channel), settings_(settings) {}

  void Mp3Start();
  bool Mp3IsPlaying();
  void Mp3KeepLooping();
  void Mp3Stop();

 private:
  MciChannel& channel_;
  const SaverSettings& settings_;
};

}  // namespace orvel
