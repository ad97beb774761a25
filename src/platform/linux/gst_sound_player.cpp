#include "platform/linux/gst_sound_player.h"

#include <gst/gst.h>

#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include "platform/linux/gst_playback.h"

namespace orvel {

namespace {

// Passes of a file that plays in (next to) no time follow one another no
// closer than this, so that the loop does not burn the processor.
constexpr std::chrono::milliseconds kShortestPass(50);

}  // namespace

// One file playing over and over. Its pipeline goes down before the rest of
// it, so the handler on GStreamer's thread never sees it half gone.
struct GstSoundPlayer::Loop {
  std::mutex mutex;
  std::condition_variable stopping;
  bool stopped = false;
  std::chrono::steady_clock::time_point lastPass = std::chrono::steady_clock::now();
  std::unique_ptr<GstPlayback> playback;

  ~Loop() {
    {
      std::lock_guard<std::mutex> lock(mutex);
      stopped = true;
    }
    stopping.notify_all();
    playback.reset();
  }

  // Runs on a streaming thread as the current pass finishes decoding.
  static void OnAboutToFinish(GstElement* playbin, gpointer self) {
    auto* loop = static_cast<Loop*>(self);
    if (!loop->AwaitNextPass()) return;
    gchar* uri = nullptr;
    g_object_get(playbin, "current-uri", &uri, nullptr);
    if (uri != nullptr) g_object_set(playbin, "uri", uri, nullptr);
    g_free(uri);
  }

  // Holds the next pass back until kShortestPass after the last one began;
  // false when the loop is stopped meanwhile.
  bool AwaitNextPass() {
    std::unique_lock<std::mutex> lock(mutex);
    stopping.wait_until(lock, lastPass + kShortestPass, [this] { return stopped; });
    lastPass = std::chrono::steady_clock::now();
    return !stopped;
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
  g_signal_connect(playbin, "about-to-finish", G_CALLBACK(&Loop::OnAboutToFinish), loop.get());
  loop->playback = std::make_unique<GstPlayback>(playbin, playbin);
  if (loop->playback->SetState(GST_STATE_PLAYING)) loop_ = std::move(loop);
}

void GstSoundPlayer::Stop() { loop_.reset(); }

}  // namespace orvel
