#include "platform/linux/music/gst_sound_player.h"

#include <gst/gst.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <thread>

#include "platform/linux/music/gst_playback.h"

namespace orvel {

namespace {

// Passes of a file that plays in (next to) no time begin no closer than
// this, so that the loop does not burn the processor.
constexpr std::chrono::milliseconds kShortestPass(50);
// How long one wait for the file to be ready to play lasts, so that a stop
// is never held up for longer.
constexpr int kSettleStepMs = 50;

}  // namespace

// One file playing over and over: each pass is a segment of the stream, and
// the next one is asked for as the current one has been read to its end,
// while its last sound is still to be heard. The asking is done by a thread
// of the loop's own, which also paces the passes; the pipeline is only
// seeked, never rebuilt, so a pass costs next to nothing.
struct GstSoundPlayer::Loop {
  std::mutex mutex;
  std::condition_variable wake;
  bool stopped = false;
  bool passRead = false;
  std::unique_ptr<GstPlayback> playback;
  std::thread pacer;

  ~Loop() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stopped = true;
    }
    wake.notify_all();
    if (pacer.joinable()) pacer.join();
    playback.reset();
  }

  // Runs on a streaming thread.
  void OnPassRead() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      passRead = true;
    }
    wake.notify_all();
  }

  void Run() {
    // The first pass, once the file is ready to play.
    GstStateChangeReturn ready = GST_STATE_CHANGE_ASYNC;
    while (ready == GST_STATE_CHANGE_ASYNC && !Stopped()) ready = playback->Settle(kSettleStepMs);
    if (ready == GST_STATE_CHANGE_FAILURE || !playback->LoopSeek(true) ||
        !playback->SetState(GST_STATE_PLAYING)) {
      return;
    }
    auto passStart = std::chrono::steady_clock::now();
    std::unique_lock<std::mutex> lock(mutex);
    while (true) {
      wake.wait(lock, [this] { return stopped || passRead; });
      passRead = false;
      wake.wait_until(lock, passStart + kShortestPass, [this] { return stopped; });
      if (stopped) return;
      passStart = std::chrono::steady_clock::now();
      lock.unlock();
      playback->LoopSeek(false);
      lock.lock();
    }
  }

  bool Stopped() {
    std::lock_guard<std::mutex> lock(mutex);
    return stopped;
  }
};

GstSoundPlayer::GstSoundPlayer() : GstSoundPlayer(GstAudioOutput{}) {}

GstSoundPlayer::GstSoundPlayer(GstAudioOutput output) : output_(std::move(output)) {}

GstSoundPlayer::~GstSoundPlayer() { Stop(); }

int GstSoundPlayer::OutputDeviceCount() {
  if (output_.kind != GstAudioOutput::Kind::Default) return 1;
  if (!EnsureGstreamer()) return 0;
  GstDeviceMonitor* monitor = gst_device_monitor_new();
  gst_device_monitor_add_filter(monitor, "Audio/Sink", nullptr);
  GList* devices = gst_device_monitor_get_devices(monitor);
  int count = static_cast<int>(g_list_length(devices));
  g_list_free_full(devices, gst_object_unref);
  gst_object_unref(monitor);
  return count;
}

void GstSoundPlayer::PlayLooping(const std::string& file) {
  Stop();
  std::error_code error;
  if (!std::filesystem::is_regular_file(file, error) || !EnsureGstreamer()) return;
  gchar* uri = gst_filename_to_uri(file.c_str(), nullptr);
  if (uri == nullptr) return;
  GstElement* playbin = MakeAudioPlaybin(uri, output_);
  g_free(uri);
  if (playbin == nullptr) return;

  auto loop = std::make_unique<Loop>();
  loop->playback = std::make_unique<GstPlayback>(playbin, playbin);
  loop->playback->OnSegmentDone([raw = loop.get()] { raw->OnPassRead(); });
  if (!loop->playback->SetState(GST_STATE_PAUSED)) return;
  loop->pacer = std::thread([raw = loop.get()] { raw->Run(); });
  loop_ = std::move(loop);
}

void GstSoundPlayer::Stop() { loop_.reset(); }

}  // namespace orvel
