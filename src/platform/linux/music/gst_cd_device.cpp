#include "platform/linux/music/gst_cd_device.h"

#include <gst/gst.h>

#include <algorithm>
#include <initializer_list>

#include "platform/linux/music/cdio_disc.h"
#include "platform/linux/music/gst_playback.h"
#include "platform/linux/music/mci_command.h"

namespace orvel {

namespace {

bool Matches(std::span<const std::string> words, std::initializer_list<std::string_view> expected) {
  return words.size() == expected.size() &&
         std::equal(words.begin(), words.end(), expected.begin(),
                    [](const std::string& word, std::string_view keyword) {
                      return SameWord(word, keyword);
                    });
}

std::int64_t SectorsToNs(std::int64_t sectors) {
  return static_cast<std::int64_t>(
      gst_util_uint64_scale(static_cast<guint64>(sectors), GST_SECOND, kCdSectorsPerSecond));
}

const CdTrack* FirstAudioTrack(const CdToc& toc) {
  for (const CdTrack& track : toc.tracks) {
    if (track.audio) return &track;
  }
  return nullptr;
}

// The end of the audio tracks that follow one another from the track that
// holds `sector`: the stream is never read into a data track.
std::int64_t AudioRunEnd(const CdToc& toc, std::int64_t sector) {
  std::int64_t end = sector;
  for (const CdTrack& track : toc.tracks) {
    if (track.end <= sector) continue;
    if (!track.audio || track.start > end) break;
    end = track.end;
  }
  return end;
}

bool InAudioTrack(const CdToc& toc, std::int64_t sector) {
  const CdTrack& track = toc.TrackAt(sector);
  return track.audio && sector >= track.start && sector < track.end;
}

}  // namespace

GstCdDevice::GstCdDevice(std::unique_ptr<CdDrive> drive, GstAudioOutput output)
    : drive_(std::move(drive)), output_(std::move(output)) {
  Disc();
}

GstCdDevice::~GstCdDevice() = default;

int GstCdDevice::Command(std::string_view verb, std::span<const std::string> words,
                         std::string& reply) {
  TakeNews();
  if (verb == "status") return Status(words, reply);
  if (verb == "set") return Set(words);
  if (Disc() == nullptr) return MciError::DeviceNotReady;
  if (verb == "play") return Play(words);
  if (verb != "stop") return MciError::UnrecognizedCommand;
  if (!words.empty()) return MciError::UnrecognizedKeyword;
  return Stop();
}

const CdToc* GstCdDevice::Disc() {
  if (drive_->DiscChanged()) ForgetDisc();
  if (!tocRead_) {
    // Read once per disc: without one, the drive is not asked again until
    // it reports a change.
    tocRead_ = true;
    toc_ = drive_->ReadToc();
    if (toc_) {
      // A disc that is new to the device starts at its beginning.
      DropPipeline();
      resting_ = toc_->tracks.front().start;
    }
  }
  return toc_ ? &*toc_ : nullptr;
}

void GstCdDevice::TakeNews() {
  if (!playback_) return;
  if (playback_->TakeError()) {
    // A read error: the disc may have gone.
    ForgetDisc();
    return;
  }
  if (playing_ && playback_->Ended()) {
    playing_ = false;
    resting_ = to_;
  }
}

std::int64_t GstCdDevice::Position() const {
  if (!playing_ || !playback_) return resting_;
  std::optional<std::int64_t> ns = playback_->PositionNs();
  // Until the pipeline has started the stretch, it is at its start.
  if (!ns) return from_;
  std::int64_t sector = origin_ + static_cast<std::int64_t>(*ns * kCdSectorsPerSecond / GST_SECOND);
  return std::clamp(sector, from_, to_);
}

int GstCdDevice::Play(std::span<const std::string> words) {
  const CdToc& disc = *toc_;
  std::optional<std::int64_t> from;
  std::optional<std::int64_t> to;
  for (std::size_t at = 0; at < words.size(); at += 2) {
    bool isFrom = SameWord(words[at], "from");
    if (!isFrom && !SameWord(words[at], "to")) return MciError::UnrecognizedKeyword;
    if (at + 1 == words.size()) return MciError::MissingParameter;
    CdPosition position = ParseCdPosition(disc, words[at + 1], format_);
    if (position.error != 0) return position.error;
    (isFrom ? from : to) = position.sector;
  }

  std::int64_t start = 0;
  if (from) {
    start = std::max(*from, disc.tracks.front().start);
    if (!InAudioTrack(disc, start)) return MciError::OutOfRange;
  } else {
    // On from where the device is: from the next audio track when it is
    // not in one, from the first when the disc has played to its end.
    const CdTrack* next = nullptr;
    start = Position();
    for (const CdTrack& track : disc.tracks) {
      if (track.audio && track.end > start) {
        next = &track;
        break;
      }
    }
    if (next == nullptr) next = FirstAudioTrack(disc);
    if (next == nullptr) return MciError::OutOfRange;
    if (!InAudioTrack(disc, start)) start = next->start;
  }
  std::int64_t end = AudioRunEnd(disc, start);
  if (to) {
    if (*to <= start) return MciError::OutOfRange;
    end = std::min(*to, end);
  }
  return Start(start, end);
}

int GstCdDevice::Start(std::int64_t from, std::int64_t to) {
  if (!playback_) {
    const CdTrack* first = FirstAudioTrack(*toc_);
    if (!EnsureGstreamer() || first == nullptr) return MciError::CannotLoadDriver;
    // cdiocddasrc by name: cdparanoiasrc, which a cdda:// address could
    // pick, cannot read disc images.
    GstElement* source = gst_element_factory_make("cdiocddasrc", nullptr);
    GstElement* sink = MakeAudioSink(output_);
    if (source == nullptr || sink == nullptr) {
      for (GstElement* made : {source, sink}) {
        if (made != nullptr) gst_object_unref(gst_object_ref_sink(made));
      }
      return MciError::CannotLoadDriver;
    }
    // The whole disc as one stream, whose time 0 is the start of its
    // first audio track.
    g_object_set(source, "device", drive_->Path().c_str(), nullptr);
    gst_util_set_object_arg(G_OBJECT(source), "mode", "continuous");
    GstElement* pipeline = gst_pipeline_new(nullptr);
    gst_bin_add_many(GST_BIN(pipeline), source, sink, nullptr);
    bool linked = gst_element_link(source, sink);
    playback_ = std::make_unique<GstPlayback>(pipeline, source);
    if (!linked) {
      DropPipeline();
      return MciError::DriverInternal;
    }
    origin_ = first->start;
  }
  // The stretch ends a nanosecond before the end sector, so that the source
  // stops after its last sector instead of reading on past the end of the
  // disc (where cdiocddasrc loses its track and fails the next seek).
  if (!playback_->Seek(SectorsToNs(from - origin_), SectorsToNs(to - origin_) - 1) ||
      !playback_->SetState(GST_STATE_PLAYING)) {
    // The disc cannot be read: it may have been taken out, or changed
    // without the drive telling.
    ForgetDisc();
    return MciError::DeviceNotReady;
  }
  playing_ = true;
  from_ = from;
  to_ = to;
  return 0;
}

int GstCdDevice::Stop() {
  // The drive is let go while stopped: its disc may be taken out, and the
  // next play finds out whether it is still there.
  DropPipeline();
  return 0;
}

int GstCdDevice::Status(std::span<const std::string> words, std::string& reply) {
  const CdToc* disc = Disc();
  if (Matches(words, {"mode"})) {
    if (disc == nullptr) {
      reply = drive_->TrayOpen() ? "open" : "not ready";
    } else {
      reply = playing_ ? "playing" : "stopped";
    }
    return 0;
  }

  bool trackPosition =
      words.size() == 3 && SameWord(words[0], "position") && SameWord(words[1], "track");
  bool known = trackPosition || Matches(words, {"number", "of", "tracks"}) ||
               Matches(words, {"current", "track"});
  if (!known) return MciError::UnrecognizedKeyword;
  if (disc == nullptr) return MciError::DeviceNotReady;

  if (Matches(words, {"number", "of", "tracks"})) {
    reply = std::to_string(disc->tracks.size());
  } else if (Matches(words, {"current", "track"})) {
    reply = std::to_string(disc->TrackAt(Position()).number);
  } else {
    std::optional<std::int64_t> number = ParseMciNumber(words[2]);
    if (!number) return MciError::BadInteger;
    const CdTrack* track = disc->Find(static_cast<int>(*number));
    if (track == nullptr) return MciError::OutOfRange;
    reply = FormatCdPosition(*disc, track->start, format_);
  }
  return 0;
}

int GstCdDevice::Set(std::span<const std::string> words) {
  if (words.size() < 2 || words.size() > 3 || !SameWord(words[0], "time") ||
      !SameWord(words[1], "format")) {
    return MciError::UnrecognizedKeyword;
  }
  if (words.size() == 2) return MciError::MissingParameter;
  std::optional<CdTimeFormat> format = ParseCdTimeFormat(words[2]);
  if (!format) return MciError::BadTimeFormat;
  format_ = *format;
  return 0;
}

void GstCdDevice::DropPipeline() {
  resting_ = Position();
  playing_ = false;
  playback_.reset();
}

void GstCdDevice::ForgetDisc() {
  DropPipeline();
  toc_.reset();
  tocRead_ = false;
}

}  // namespace orvel
