// The simple sound player on Linux: a file played over and over through
// GStreamer's playbin.
#pragma once

#include <memory>
#include <string>

#include "platform/linux/music/gst_audio_output.h"
#include "platform/platform.h"

namespace orvel {

// Each pass is followed by the next without a gap. A file that cannot be
// played stays silent. A file that plays in next to no time (a click, an
// empty WAV) is repeated at most twenty times a second, with silence
// between, for as long as it plays: repeating it as fast as it ends would
// burn the processor.
class GstSoundPlayer : public SoundPlayer {
 public:
  GstSoundPlayer();
  explicit GstSoundPlayer(GstAudioOutput output);
  ~GstSoundPlayer() override;

  // The audio outputs GStreamer's device monitor lists (devices of the
  // class Audio/Sink); 1 when the output is not the system's.
  int OutputDeviceCount() override;
  void PlayLooping(const std::string& file) override;
  void Stop() override;

 private:
  struct Loop;

  GstAudioOutput output_;
  std::unique_ptr<Loop> loop_;
};

}  // namespace orvel
