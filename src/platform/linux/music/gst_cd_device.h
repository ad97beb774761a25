// The "cdaudio" device: an audio CD (or a disc image) played through
// GStreamer's cdiocddasrc, with the table of contents from libcdio.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "platform/linux/music/cd_positions.h"
#include "platform/linux/music/cdio_disc.h"
#include "platform/linux/music/gst_audio_output.h"
#include "platform/linux/music/mci_device.h"

namespace orvel {

class GstPlayback;

// Answers as the media control interface's CD device does. Positions are
// replied and read in the current time format (msf at first). The disc is
// played as one stream from the start position to the end of its run of
// audio tracks, or to the given end; "stop" keeps the position, so that a
// later "play" goes on from there, and lets the drive go meanwhile, and "play" at the end of the
// disc starts it again from its first track. Without a disc every command except "close", "set" and
// "status mode" fails with DeviceNotReady, and the mode is "not ready" (or "open" when the drive's
// tray is open). The drive stays open while the device is; the device reads the disc's table of
// contents again only when the drive reports another disc, or none, and when a disc it knows can no
// longer be read (a failed start or a read error), so that a disc taken out or changed while the
// device is stopped is noticed.
class GstCdDevice : public MciDevice {
 public:
  GstCdDevice(std::unique_ptr<CdDrive> drive, GstAudioOutput output);
  ~GstCdDevice() override;

  int Command(std::string_view verb, std::span<const std::string> words,
              std::string& reply) override;

 private:
  int Play(std::span<const std::string> words);
  int Stop();
  int Status(std::span<const std::string> words, std::string& reply);
  int Set(std::span<const std::string> words);

  // The table of contents, read when the device opens, when the drive
  // reports another disc and after the disc could not be read; nullptr
  // without a disc.
  const CdToc* Disc();
  // Takes in the pipeline's news: the end of the stretch stops the device at
  // its end; an error drops the pipeline and the table of contents.
  void TakeNews();
  // The sector the device is at.
  std::int64_t Position() const;
  // Plays the sectors [from, to).
  int Start(std::int64_t from, std::int64_t to);
  // Stops where the device is and lets the pipeline go.
  void DropPipeline();
  // Lets the pipeline and the table of contents go: the next command reads
  // the disc again.
  void ForgetDisc();

  std::unique_ptr<CdDrive> drive_;
  GstAudioOutput output_;
  std::optional<CdToc> toc_;
  bool tocRead_ = false;  // toc_ is what the drive holds, or holds no disc
  CdTimeFormat format_ = CdTimeFormat::Msf;
  bool playing_ = false;
  std::int64_t resting_ = 0;  // the position while stopped
  std::int64_t from_ = 0;     // the stretch being played
  std::int64_t to_ = 0;
  std::int64_t origin_ = 0;  // the sector at stream time 0 of the pipeline
  std::unique_ptr<GstPlayback> playback_;
};

}  // namespace orvel
