// The "MPEGVideo" device: a music file (MP3, WAV or whatever GStreamer
// decodes) played through playbin.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/file_stamp.h"
#include "platform/linux/gst_audio_output.h"
#include "platform/linux/mci_device.h"

namespace orvel {

class GstPlayback;

// Answers as the media control interface's MPEG device does, in
// milliseconds. Opening readies the file and fails when it cannot be
// decoded; "stop" keeps the position, so that a later "play" goes on from
// there; at the end of the file the mode turns to "stopped", and "play"
// then starts the file again from its beginning. A file rewritten or
// replaced since it was opened is readied again at the next "play", which
// fails as the open would (InvalidFile, FileNotFound) when it no longer
// plays.
class GstFileDevice : public MciDevice {
 public:
  explicit GstFileDevice(GstAudioOutput output);
  ~GstFileDevice() override;

  // Opens `path` and prepares it for playing: 0, or FileNotFound,
  // InvalidFile or CannotLoadDriver. Waits a few hundred milliseconds at
  // most for the file to be decoded far enough to tell.
  int Open(const std::string& path);

  int Command(std::string_view verb, std::span<const std::string> words,
              std::string& reply) override;

 private:
  int Prepare();
  void TakeNews();
  std::int64_t PositionMs() const;
  std::optional<std::int64_t> LengthMs() const;

  int Play(std::span<const std::string> words);
  int Stop();

  GstAudioOutput output_;
  std::string path_;
  std::string uri_;
  std::optional<FileStamp> stamp_;  // the file as it was readied
  std::unique_ptr<GstPlayback> playback_;
  bool playing_ = false;
  std::int64_t restingMs_ = 0;  // the position while stopped
  std::int64_t fromMs_ = 0;     // where the playing started
};

}  // namespace orvel
