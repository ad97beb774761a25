// The simple sound player on Linux: a file played over and over through
// GStreamer's playbin.
#pragma once

#include <memory>
#include <string>

#include "platform/linux/gst_audio_output.h"
#include "platform/platform.h"

namespace orvel {

// Each pass is followed by the next without a gap: the file is queued again
// as the current pass finishes decoding. A file that cannot be played stays
// silent. A file that plays in next to no time (an empty WAV) is not
// repeated on and on, which would only burn the processor.
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
