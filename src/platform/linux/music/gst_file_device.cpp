#include "platform/linux/music/gst_file_device.h"

#include <gst/gst.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform/linux/music/gst_playback.h"
#include "platform/linux/music/mci_command.h"
#include "platform/linux/system/file_stamp.h"

namespace orvel {

namespace {

// How long readying waits for the file to be decoded far enough to tell
// whether it plays; a slower file is taken on trust. The wait ends as soon
// as the file is ready, so it costs only what a busy machine needs: 400 ms
// let a picture file through as music while the decoders were still loading.
constexpr int kPrerollWaitMs = 3000;

std::int64_t MsToNs(std::int64_t ms) { return ms * static_cast<std::int64_t>(GST_MSECOND); }
std::int64_t NsToMs(std::int64_t ns) { return ns / static_cast<std::int64_t>(GST_MSECOND); }

// A pipeline of `uri` ready to play, or nullptr with the reason in `code`.
std::unique_ptr<GstPlayback> ReadyPipeline(const std::string& uri, const GstAudioOutput& output,
                                           int& code) {
  GstElement* playbin = MakeAudioPlaybin(uri, output);
  if (playbin == nullptr) {
    code = MciError::CannotLoadDriver;
    return nullptr;
  }
  auto playback = std::make_unique<GstPlayback>(playbin, playbin);
  bool paused = playback->SetState(GST_STATE_PAUSED);
  GstStateChangeReturn settled =
      paused ? playback->Settle(kPrerollWaitMs) : GST_STATE_CHANGE_FAILURE;
  gint audioStreams = 1;
  if (settled == GST_STATE_CHANGE_SUCCESS) g_object_get(playbin, "n-audio", &audioStreams, nullptr);
  if (settled == GST_STATE_CHANGE_FAILURE || audioStreams == 0 || playback->TakeError()) {
    code = MciError::InvalidFile;
    return nullptr;
  }
  code = 0;
  return playback;
}

}  // namespace

// A file being readied, shared by the device and the readying thread. The
// thread fills in the outcome and, when a play was asked for meanwhile,
// starts it; the device takes the outcome at its next command, or lets it go
// when it is closed or the file changes again.
struct GstFileDevice::Readying {
  std::mutex mutex;
  std::condition_variable finishedChanged;
  bool finished = false;
  bool abandoned = false;
  std::optional<std::int64_t> playFromMs;
  bool started = false;
  int code = 0;
  std::unique_ptr<GstPlayback> playback;

  static void Run(const std::shared_ptr<Readying>& self, const std::string& uri,
                  const GstAudioOutput& output) {
    int code = 0;
    std::unique_ptr<GstPlayback> playback = ReadyPipeline(uri, output, code);
    {
      std::lock_guard<std::mutex> lock(self->mutex);
      if (!self->abandoned) {
        if (playback && self->playFromMs) {
          std::optional<std::int64_t> length = playback->DurationNs();
          self->started = !(length && MsToNs(*self->playFromMs) > *length) &&
                          playback->PlayFrom(MsToNs(*self->playFromMs));
        }
        self->code = code;
        self->playback = std::move(playback);
        self->finished = true;
      }
    }
    self->finishedChanged.notify_all();
    // An abandoned pipeline goes here, on this thread.
  }
};

GstFileDevice::GstFileDevice(GstAudioOutput output) : output_(std::move(output)) {}

GstFileDevice::~GstFileDevice() {
  // A readying under way finishes on its own thread and lets its pipeline
  // go there: closing does not wait for a file that is slow to ready.
  if (readying_) {
    std::lock_guard<std::mutex> lock(readying_->mutex);
    readying_->abandoned = true;
  }
}

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
  if (int code = StartReadying(std::nullopt); code != 0) return code;
  {
    std::unique_lock<std::mutex> lock(readying_->mutex);
    readying_->finishedChanged.wait_for(lock, std::chrono::milliseconds(kPrerollWaitMs + 1000),
                                        [this] { return readying_->finished; });
  }
  TakeReadied();
  return failed_ ? failed_->code : 0;
}

int GstFileDevice::StartReadying(std::optional<std::int64_t> playFromMs) {
  if (readying_) {
    std::lock_guard<std::mutex> lock(readying_->mutex);
    readying_->abandoned = true;
  }
  readying_.reset();
  playback_.reset();
  playing_ = false;
  restingMs_ = 0;
  stamp_ = StampOf(path_);
  if (!stamp_) return MciError::FileNotFound;
  readying_ = std::make_shared<Readying>();
  readying_->playFromMs = playFromMs;
  std::thread(&Readying::Run, readying_, uri_, output_).detach();
  if (playFromMs) {
    playing_ = true;
    fromMs_ = restingMs_ = *playFromMs;
  }
  return 0;
}

void GstFileDevice::TakeReadied() {
  if (!readying_) return;
  std::unique_lock<std::mutex> lock(readying_->mutex);
  if (!readying_->finished) return;
  const int code = readying_->code;
  const bool started = readying_->started;
  playback_ = std::move(readying_->playback);
  lock.unlock();
  readying_.reset();
  if (code != 0) {
    failed_ = Failure{*stamp_, code};
    playing_ = false;
    restingMs_ = 0;
    return;
  }
  failed_.reset();
  // A play asked for meanwhile may have been past the end of the file.
  if (playing_ && !started) {
    playing_ = false;
    restingMs_ = 0;
  }
}

bool GstFileDevice::PassToReadying(std::optional<std::int64_t> playFromMs) {
  if (!readying_) return false;
  std::lock_guard<std::mutex> lock(readying_->mutex);
  if (readying_->finished) return false;
  readying_->playFromMs = playFromMs;
  playing_ = playFromMs.has_value();
  if (playFromMs) fromMs_ = *playFromMs;
  restingMs_ = fromMs_;
  return true;
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
  TakeReadied();
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
  // from its beginning, without waiting for it here.
  std::optional<FileStamp> stamp = StampOf(path_);
  if (stamp == stamp_ && PassToReadying(from.value_or(0))) return 0;
  TakeReadied();
  if (failed_ && stamp == failed_->stamp) return failed_->code;
  if (!playback_ || stamp != stamp_) return StartReadying(from.value_or(0));

  std::optional<std::int64_t> length = LengthMs();
  if (from && length && *from > *length) return MciError::OutOfRange;
  std::int64_t start = from ? *from : PositionMs();
  if (!from && length && start >= *length) start = 0;
  if (!playback_->PlayFrom(MsToNs(start))) {
    playback_.reset();
    playing_ = false;
    return MciError::DriverInternal;
  }
  playing_ = true;
  fromMs_ = start;
  return 0;
}

int GstFileDevice::Stop() {
  if (PassToReadying(std::nullopt)) return 0;
  TakeReadied();
  if (playing_ && playback_) {
    restingMs_ = PositionMs();
    playback_->SetState(GST_STATE_PAUSED);
  }
  playing_ = false;
  return 0;
}

}  // namespace orvel
