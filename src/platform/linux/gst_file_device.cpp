#include "platform/linux/gst_file_device.h"

#include <gst/gst.h>

#include <filesystem>

#include "platform/linux/gst_playback.h"
#include "platform/linux/mci_command.h"

namespace orvel {

namespace {

// How long opening waits for the file to be decoded far enough to tell
// whether it plays; a slower file is taken on trust.
constexpr int kPrerollWaitMs = 400;

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
  uri_ = uri;
  g_free(uri);
  return Prepare();
}

int GstFileDevice::Prepare() {
  GstElement* playbin = gst_element_factory_make("playbin", nullptr);
  GstElement* sink = MakeAudioSink(output_);
  if (playbin == nullptr || sink == nullptr) {
    for (GstElement* made : {playbin, sink}) {
      if (made != nullptr) gst_object_unref(gst_object_ref_sink(made));
    }
    return MciError::CannotLoadDriver;
  }
  // Sound only: a picture or a video stream in the file is left alone.
  g_object_set(playbin, "uri", uri_.c_str(), "audio-sink", sink, nullptr);
  gst_util_set_object_arg(G_OBJECT(playbin), "flags", "audio+soft-volume");
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
  mode_ = Mode::Stopped;
  restingMs_ = 0;
  return 0;
}

int GstFileDevice::Command(std::string_view verb, std::span<const std::string> words,
                           std::string& reply) {
  TakeNews();
  if (verb == "status") return Status(words, reply);
  if (verb == "set") return Set(words);
  if (verb == "play") return Play(words);
  if (verb == "seek") return Seek(words);
  if (!words.empty()) return MciError::UnrecognizedKeyword;
  if (verb == "stop") return Stop();
  if (verb == "pause") {
    if (mode_ == Mode::Playing) {
      playback_->SetState(GST_STATE_PAUSED);
      mode_ = Mode::Paused;
    }
    return 0;
  }
  if (verb == "resume") {
    if (mode_ == Mode::Paused) {
      if (!playback_->SetState(GST_STATE_PLAYING)) return MciError::DriverInternal;
      mode_ = Mode::Playing;
    }
    return 0;
  }
  return MciError::UnsupportedFunction;
}

void GstFileDevice::TakeNews() {
  if (!playback_) return;
  if (playback_->TakeError()) {
    // The pipeline is rebuilt at the next play.
    restingMs_ = PositionMs();
    mode_ = Mode::Stopped;
    playback_.reset();
    return;
  }
  if (mode_ != Mode::Stopped && playback_->Ended()) {
    mode_ = Mode::Stopped;
    restingMs_ = toMs_ ? *toMs_ : LengthMs().value_or(PositionMs());
  }
}

std::int64_t GstFileDevice::PositionMs() const {
  if (mode_ == Mode::Stopped || !playback_) return restingMs_;
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
  std::optional<std::int64_t> to;
  for (std::size_t at = 0; at < words.size(); at += 2) {
    bool isFrom = SameWord(words[at], "from");
    if (!isFrom && !SameWord(words[at], "to")) return MciError::UnrecognizedKeyword;
    if (at + 1 == words.size()) return MciError::MissingParameter;
    std::optional<long> ms = ParseMciNumber(words[at + 1]);
    if (!ms) return MciError::BadInteger;
    (isFrom ? from : to) = *ms;
  }
  if (!playback_) {
    if (int code = Prepare(); code != 0) return code;
  }
  std::optional<std::int64_t> length = LengthMs();
  if (length && ((from && *from > *length) || (to && *to > *length))) {
    return MciError::OutOfRange;
  }
  std::int64_t start = from ? *from : PositionMs();
  if (!from && length && start >= *length) start = 0;
  if (to && *to <= start) return MciError::OutOfRange;

  if (!playback_->Seek(MsToNs(start), to ? MsToNs(*to) : -1) ||
      !playback_->SetState(GST_STATE_PLAYING)) {
    playback_.reset();
    mode_ = Mode::Stopped;
    return MciError::DriverInternal;
  }
  mode_ = Mode::Playing;
  fromMs_ = start;
  toMs_ = to;
  return 0;
}

int GstFileDevice::Seek(std::span<const std::string> words) {
  if (words.empty()) return MciError::MissingParameter;
  if (!SameWord(words[0], "to") || words.size() > 2) return MciError::UnrecognizedKeyword;
  if (words.size() == 1) return MciError::MissingParameter;
  std::int64_t target = 0;
  if (SameWord(words[1], "end")) {
    target = LengthMs().value_or(0);
  } else if (!SameWord(words[1], "start")) {
    std::optional<long> ms = ParseMciNumber(words[1]);
    if (!ms) return MciError::BadInteger;
    std::optional<std::int64_t> length = LengthMs();
    if (length && *ms > *length) return MciError::OutOfRange;
    target = *ms;
  }
  Stop();
  restingMs_ = target;
  return 0;
}

int GstFileDevice::Stop() {
  if (mode_ != Mode::Stopped) {
    restingMs_ = PositionMs();
    playback_->SetState(GST_STATE_PAUSED);
    mode_ = Mode::Stopped;
  }
  return 0;
}

int GstFileDevice::Status(std::span<const std::string> words, std::string& reply) {
  if (words.empty()) return MciError::MissingParameter;
  auto is = [&](std::string_view first, std::string_view second = {}) {
    return SameWord(words[0], first) &&
           (second.empty() ? words.size() == 1 : words.size() == 2 && SameWord(words[1], second));
  };
  if (is("mode")) {
    reply = mode_ == Mode::Playing ? "playing" : mode_ == Mode::Paused ? "paused" : "stopped";
  } else if (is("position")) {
    reply = std::to_string(PositionMs());
  } else if (is("length")) {
    reply = std::to_string(LengthMs().value_or(0));
  } else if (is("ready") || is("media", "present")) {
    reply = "true";
  } else if (is("time", "format")) {
    reply = "milliseconds";
  } else {
    return MciError::UnrecognizedKeyword;
  }
  return 0;
}

int GstFileDevice::Set(std::span<const std::string> words) {
  if (words.size() >= 2 && SameWord(words[0], "time") && SameWord(words[1], "format")) {
    if (words.size() == 2) return MciError::MissingParameter;
    if (words.size() > 3) return MciError::UnrecognizedKeyword;
    if (SameWord(words[2], "milliseconds") || SameWord(words[2], "ms")) return 0;
    return MciError::BadTimeFormat;
  }
  if (!words.empty() && SameWord(words[0], "audio")) return MciError::UnsupportedFunction;
  return words.empty() ? MciError::MissingParameter : MciError::UnrecognizedKeyword;
}

}  // namespace orvel
