// The audio CD as background music: the drive is opened at the start, a
// watch step every 200 ms starts playback, restarts it when the disc stops
// and keeps the chosen repeat track playing, the arrow keys skip tracks, and
// the drive is stopped and closed at the end.
#pragma once

#include "music/mci_channel.h"
#include "settings/saver_settings.h"

namespace orvel {

// The reply buffer of the drive's mode query: at most 254 characters.
inline constexpr std::size_t kCdModeBuffer = 255;

class CdPlayer {
 public:
  CdPlayer(MciChannel& channel, const SaverSettings& settings)
      : channel_(channel), settings_(settings) {}

  void CdOpen();
  // One watch step; CdWatchOk tells whether the drive answered it.
  void CdWatch();
  bool CdWatchOk() const { return watchOk_; }
  // To the start of the track before or after the current one. Past either
  // end of the disc the drive refuses and the playback goes on unchanged.
  void CdPreviousTrack();
  void CdNextTrack();
  void CdClose();

 private:
  void SkipTracks(int step);

  MciChannel& channel_;
  const SaverSettings& settings_;
  bool watchOk_ = false;
};

}  // namespace orvel
