#include "platform/linux/gst_audio_output.h"

#include <gst/gst.h>

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
  GstElement* sink = gst_element_factory_make("filesink", nullptr);
  if (sink != nullptr) {
    g_object_set(sink, "location", output.path.c_str(), "append", TRUE, "sync", TRUE, nullptr);
  }
  return sink;
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
