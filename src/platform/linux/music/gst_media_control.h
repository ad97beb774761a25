// The media control interface on Linux: an interpreter of its command
// strings over GStreamer, with the devices "cdaudio" (an audio CD through
// libcdio and cdiocddasrc) and "MPEGVideo" (a music file through playbin).
#pragma once

#include <map>
#include <memory>
#include <string>

#include "platform/linux/music/gst_audio_output.h"
#include "platform/linux/music/mci_device.h"
#include "platform/platform.h"

namespace orvel {

// Commands: "open cdaudio", "open <file> type MPEGVideo alias <name>", and
// close, play, stop, status and set for an open device, which is known by
// its alias (the CD device by "cdaudio"); keywords and names without regard
// to letter case. Commands return at once: playback runs on GStreamer's
// threads, and the mode replies "stopped" once the end has been played.
// Opening a file waits a few seconds at most to see that it can be decoded;
// after that, nothing waits for a file to be readied.
class GstMediaControl : public MediaControl {
 public:
  struct Options {
    GstAudioOutput output;
    // What "cdaudio" plays: a CD device node or a disc image (BIN/CUE);
    // empty for the system's default CD drive.
    std::string cdDrive;
  };

  GstMediaControl();
  explicit GstMediaControl(Options options);
  ~GstMediaControl() override;

  int Send(const std::string& command, std::string& reply) override;
  std::optional<std::string> ErrorText(int code) override;

 private:
  int Open(std::span<const std::string> words);

  Options options_;
  std::map<std::string, std::unique_ptr<MciDevice>> devices_;  // by lower-case name
};

}  // namespace orvel
