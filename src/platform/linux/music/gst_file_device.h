// The "MPEGVideo" device: a music file (MP3, WAV or whatever GStreamer
// decodes) played through playbin.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/music/gst_audio_output.h"
#include "platform/linux/music/mci_device.h"
#include "platform/linux/system/file_stamp.h"

namespace orvel {

class GstPlayback;

// Answers as the media control interface's MPEG device does, in
// milliseconds. Opening readies the file and fails when it cannot be
// decoded; "stop" keeps the position, so that a later "play" goes on from
// there; at the end of the file the mode turns to "stopped", and "play"
// then starts the file again from its beginning. A file rewritten or
// replaced since it was readied is readied again at the next "play", from
// its beginning, on a thread of its own: the play answers at once, the mode
// is "playing" meanwhile, and the file plays as soon as it is ready. When
// it does not play the mode turns to "stopped", and the next "play" of the
// file as it stands fails as the open would (InvalidFile, FileNotFound).
class GstFileDevice : public MciDevice {
 public:
  explicit GstFileDevice(GstAudioOutput output);
  ~GstFileDevice() override;

  // Opens `path` and readies it for playing: 0, or FileNotFound,
  // InvalidFile or CannotLoadDriver. Waits a few seconds at most (the saver
  // opens its music as it starts, not in a frame) for the file to be
  // decoded far enough to tell; a slower file is taken on trust.
  int Open(const std::string& path);

  int Command(std::string_view verb, std::span<const std::string> words,
              std::string& reply) override;

 private:
  struct Readying;
  struct Failure {
    FileStamp stamp;
    int code = 0;
  };

  // Readies the file as it stands on a thread of its own, then plays it
  // from `playFromMs` when that is given; lets go of the pipeline and of a
  // readying under way. FileNotFound when there is no file.
  int StartReadying(std::optional<std::int64_t> playFromMs);
  // Takes the pipeline of a readying that has finished.
  void TakeReadied();
  // Hands a play or a stop (nullopt) to a readying under way: false when
  // there is none (it may just have finished).
  bool PassToReadying(std::optional<std::int64_t> playFromMs);
  void TakeNews();
  std::int64_t PositionMs() const;
  std::optional<std::int64_t> LengthMs() const;

  int Play(std::span<const std::string> words);
  int Stop();

  GstAudioOutput output_;
  std::string path_;
  std::string uri_;
  std::optional<FileStamp> stamp_;  // the file as it was readied, or is being readied
  std::shared_ptr<Readying> readying_;
  std::optional<Failure> failed_;  // the file as it stood when it did not ready
  std::unique_ptr<GstPlayback> playback_;
  bool playing_ = false;
  std::int64_t restingMs_ = 0;  // the position while stopped
  std::int64_t fromMs_ = 0;     // where the playing started
};

}  // namespace orvel
