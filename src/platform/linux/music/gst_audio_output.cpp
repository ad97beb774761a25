#include "platform/linux/music/gst_audio_output.h"

#include <gst/gst.h>

#include <cstdio>
#include <mutex>

namespace orvel {

bool EnsureGstreamer() {
  static std::once_flag once;
  static bool ready = false;
  std::call_once(once, [] {
    GError* error = nullptr;
    ready = gst_init_check(nullptr, nullptr, &error);
    if (error != nullptr) g_error_free(error);
  });
  return ready;
}

namespace {

// Runs on the streaming thread as each buffer is due.
void AppendBuffer(GstElement*, GstBuffer* buffer, GstPad*, gpointer file) {
  GstMapInfo map;
  if (!gst_buffer_map(buffer, &map, GST_MAP_READ)) return;
  std::fwrite(map.data, 1, map.size, static_cast<std::FILE*>(file));
  std::fflush(static_cast<std::FILE*>(file));
  gst_buffer_unmap(buffer, &map);
}

void CloseFile(gpointer file, GClosure*) { std::fclose(static_cast<std::FILE*>(file)); }

// A sink that appends what it renders to `path` in real time. Not
// filesink: it empties its file at every flushing seek, even when told to
// append, so only the sound since the last seek would be kept.
GstElement* MakeAppendingSink(const std::string& path) {
  std::FILE* file = std::fopen(path.c_str(), "ab");
  if (file == nullptr) return nullptr;
  GstElement* sink = gst_element_factory_make("fakesink", nullptr);
  if (sink == nullptr) {
    std::fclose(file);
    return nullptr;
  }
  g_object_set(sink, "sync", TRUE, "signal-handoffs", TRUE, nullptr);
  g_signal_connect_data(sink, "handoff", G_CALLBACK(&AppendBuffer), file, &CloseFile,
                        static_cast<GConnectFlags>(0));
  return sink;
}

GstElement* MakeFinalSink(const GstAudioOutput& output) {
  switch (output.kind) {
    case GstAudioOutput::Kind::Default:
      return gst_element_factory_make("autoaudiosink", nullptr);
    case GstAudioOutput::Kind::RealTimeDiscard: {
      GstElement* sink = gst_element_factory_make("fakesink", nullptr);
      if (sink != nullptr) g_object_set(sink, "sync", TRUE, nullptr);
      return sink;
    }
    case GstAudioOutput::Kind::RawFile:
      break;
  }
  return MakeAppendingSink(output.path);
}

}  // namespace

GstElement* MakeAudioSink(const GstAudioOutput& output) {
  if (!EnsureGstreamer()) return nullptr;
  GstElement* convert = gst_element_factory_make("audioconvert", nullptr);
  GstElement* resample = gst_element_factory_make("audioresample", nullptr);
  GstElement* filter = gst_element_factory_make("capsfilter", nullptr);
  GstElement* sink = MakeFinalSink(output);
  if (convert == nullptr || resample == nullptr || filter == nullptr || sink == nullptr) {
    for (GstElement* made : {convert, resample, filter, sink}) {
      if (made != nullptr) gst_object_unref(gst_object_ref_sink(made));
    }
    return nullptr;
  }
  if (output.kind == GstAudioOutput::Kind::RawFile) {
    GstCaps* caps =
        gst_caps_from_string("audio/x-raw,format=S16LE,layout=interleaved,rate=44100,channels=2");
    g_object_set(filter, "caps", caps, nullptr);
    gst_caps_unref(caps);
  }
  GstElement* bin = gst_bin_new(nullptr);
  gst_bin_add_many(GST_BIN(bin), convert, resample, filter, sink, nullptr);
  if (!gst_element_link_many(convert, resample, filter, sink, nullptr)) {
    gst_object_unref(gst_object_ref_sink(bin));
    return nullptr;
  }
  GstPad* input = gst_element_get_static_pad(convert, "sink");
  gst_element_add_pad(bin, gst_ghost_pad_new("sink", input));
  gst_object_unref(input);
  return bin;
}

GstElement* MakeAudioPlaybin(const std::string& uri, const GstAudioOutput& output) {
  GstElement* playbin = gst_element_factory_make("playbin", nullptr);
  GstElement* sink = MakeAudioSink(output);
  if (playbin == nullptr || sink == nullptr) {
    for (GstElement* made : {playbin, sink}) {
      if (made != nullptr) gst_object_unref(gst_object_ref_sink(made));
    }
    return nullptr;
  }
  g_object_set(playbin, "uri", uri.c_str(), "audio-sink", sink, nullptr);
  gst_util_set_object_arg(G_OBJECT(playbin), "flags", "audio+soft-volume");
  return playbin;
}

}  // namespace orvel
