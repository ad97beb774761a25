// The saver's background music over the platform's media control
// interpreter (audio CD, MP3) and its sound player (WAV).
#pragma once

#include "music/cd_player.h"
#include "music/mci_channel.h"
#include "music/music.h"
#include "music/music_file_player.h"
#include "music/wav_player.h"
#include "platform/platform.h"
#include "settings/saver_settings.h"

namespace orvel {

class MciMusic : public Music {
 public:
  // The settings are read at each call, as they stand then.
  MciMusic(const SaverSettings& settings, MediaControl& media, SoundPlayer& sound);
  MciMusic(const MciMusic&) = delete;
  MciMusic& operator=(const MciMusic&) = delete;

  void CdOpen() override;
  void CdWatch() override;
  bool CdWatchOk() const override;
  void CdPreviousTrack() override;
  void CdNextTrack() override;
  void CdClose() override;

  void Mp3Start() override;
  void Mp3KeepLooping() override;
  void Mp3Stop() override;

  void WavStart() override;
  void WavStop() override;

 private:
  MciChannel channel_;
  CdPlayer cd_;
  MusicFilePlayer file_;
  WavPlayer wav_;
};

}  // namespace orvel
