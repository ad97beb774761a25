#include "platform/linux/gst_file_device.h"

#include <gst/gst.h>

#include <filesystem>

#include "platform/linux/file_stamp.h"
#include "platform/linux/gst_playback.h"
#include "platform/linux/mci_command.h"

namespace orvel {

namespace {

// How long opening waits for the file to be decoded far enough to tell
// whether it plays; a slower file is taken on trust. The wait ends as soon
// as the file is ready, so it costs only what a busy machine needs: 400 ms
// let a picture file through as music while the decoders were still loading.
constexpr int kPrerollWaitMs = 3000;

std::int64_t MsToNs(std::int64_t ms) { return ms * static_cast<std::int64_t>(GST_MSECOND); }
std::int64_t NsToMs(std::int64_t ns) { return ns / static_cast<std::int64_t>(GST_MSECOND); }

}  // namespace

GstFileDevice::GstFileDevice(GstAudioOutput output) : output_(std::move(output)) {}

GstFileDevice::~GstFileDevice() = default;

int GstFileDevice::Open(const std::string& path) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return MciError::FileNotFound;
  if (!std::filesystem::is_regular_file(path, error)) return MciError::InvalidFile;
  if (!EnsureGstreamer()) return MciError::CannotLoadDriver;
  gchar* uri = gst_filename_to_uri(path.c_str(), nullptr);
  if (uri == nullptr) return MciError::FileNotFound;
  path_ = path;
  uri_ = uri;
  g_free(uri);
  return Prepare();
}

int GstFileDevice::Prepare() {
  playback_.reset();
  playing_ = false;
  stamp_ = StampOf(path_);
  if (!stamp_) return MciError::FileNotFound;
  GstElement* playbin = MakeAudioPlaybin(uri_, output_);
  if (playbin == nullptr) return MciError::CannotLoadDriver;
  playback_ = std::make_unique<GstPlayback>(playbin, playbin);

  bool paused = playback_->SetState(GST_STATE_PAUSED);
  GstStateChangeReturn settled =
      paused ? playback_->Settle(kPrerollWaitMs) : GST_STATE_CHANGE_FAILURE;
  gint audioStreams = 1;
  if (settled == GST_STATE_CHANGE_SUCCESS) g_object_get(playbin, "n-audio", &audioStreams, nullptr);
  if (settled == GST_STATE_CHANGE_FAILURE || audioStreams == 0 || playback_->TakeError()) {
    playback_.reset();
    return MciError::InvalidFile;
  }
  restingMs_ = 0;
  return 0;
}

int GstFileDevice::Command(std::string_view verb, std::span<const std::string> words,
                           std::string& reply) {
  TakeNews();
  if (verb == "play") return Play(words);
  if (verb == "stop") return words.empty() ? Stop() : MciError::UnrecognizedKeyword;
  if (verb != "status") return MciError::UnrecognizedCommand;
  // The mode is the one thing a file is asked about.
  if (words.size() != 1 || !SameWord(words[0], "mode")) return MciError::UnrecognizedKeyword;
  reply = playing_ ? "playing" : "stopped";
  return 0;
}

void GstFileDevice::TakeNews() {
  if (!playback_) return;
  if (playback_->TakeError()) {
    // The pipeline is rebuilt at the next play.
    restingMs_ = PositionMs();
    playing_ = false;
    playback_.reset();
    return;
  }
  if (playing_ && playback_->Ended()) {
    playing_ = false;
    restingMs_ = LengthMs().value_or(PositionMs());
  }
}

std::int64_t GstFileDevice::PositionMs() const {
  if (!playing_ || !playback_) return restingMs_;
  std::optional<std::int64_t> ns = playback_->PositionNs();
  return ns ? NsToMs(*ns) : fromMs_;
}

std::optional<std::int64_t> GstFileDevice::LengthMs() const {
  if (!playback_) return std::nullopt;
  std::optional<std::int64_t> ns = playback_->DurationNs();
  if (!ns) return std::nullopt;
  return NsToMs(*ns);
}

int GstFileDevice::Play(std::span<const std::string> words) {
  std::optional<std::int64_t> from;
  if (!words.empty()) {
    if (!SameWord(words[0], "from") || words.size() > 2) return MciError::UnrecognizedKeyword;
    if (words.size() == 1) return MciError::MissingParameter;
    std::optional<std::int64_t> ms = ParseMciNumber(words[1]);
    if (!ms) return MciError::BadInteger;
    from = *ms;
  }
  // A file rewritten or replaced since it was readied is readied again,
  // from its beginning: a play that cannot start then fails.
  if (!playback_ || StampOf(path_) != stamp_) {
    if (int code = Prepare(); code != 0) return code;
  }
  std::optional<std::int64_t> length = LengthMs();
  if (from && length && *from > *length) return MciError::OutOfRange;
  std::int64_t start = from ? *from : PositionMs();
  if (!from && length && start >= *length) start = 0;

  if (!playback_->Seek(MsToNs(start), -1) || !playback_->SetState(GST_STATE_PLAYING)) {
    playback_.reset();
    playing_ = false;
    return MciError::DriverInternal;
  }
  playing_ = true;
  fromMs_ = start;
  return 0;
}

int GstFileDevice::Stop() {
  if (playing_) {
    restingMs_ = PositionMs();
    playback_->SetState(GST_STATE_PAUSED);
    playing_ = false;
  }
  return 0;
}

}  // namespace orvel
