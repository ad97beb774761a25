#include "music/wav_player.h"

namespace orvel {

void WavPlayer::WavStart() {
  if (sound_.OutputDeviceCount() <= 0) return;
  sound_.PlayLooping(settings_.BgmFile);
}

void WavPlayer::WavStop() { sound_.Stop(); }

}  // namespace orvel
