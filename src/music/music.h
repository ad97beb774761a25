// The background music as the saver drives it: the audio CD, an MP3 file
// played over and over, or a looping WAV file.
#pragma once

namespace orvel {

class Music {
 public:
  virtual ~Music() = default;

  virtual void CdOpen() = 0;
  // One watch step: starts, restarts and keeps the repeat track playing.
  virtual void CdWatch() = 0;
  // Whether the last watch step found the drive answering.
  virtual bool CdWatchOk() const = 0;
  virtual void CdPreviousTrack() = 0;
  virtual void CdNextTrack() = 0;
  virtual void CdClose() = 0;

  virtual void Mp3Start() = 0;
  // Restarts the file from its beginning when it is not playing.
  virtual void Mp3KeepLooping() = 0;
  virtual void Mp3Stop() = 0;

  virtual void WavStart() = 0;
  virtual void WavStop() = 0;
};

}  // namespace orvel
