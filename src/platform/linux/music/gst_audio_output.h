// Where the GStreamer players send their sound: the system's audio output,
// or, for tests and tools, nowhere in real time or into a file.
#pragma once

#include <string>

typedef struct _GstElement GstElement;

namespace orvel {

struct GstAudioOutput {
  enum class Kind {
    // The system's default audio output.
    Default,
    // Nothing is heard, but the sound is consumed in real time, so that
    // playback takes as long as it would on a loudspeaker.
    RealTimeDiscard,
    // Appended to `path` in real time as raw samples: 44100 Hz, 16-bit
    // signed little-endian, two interleaved channels. Everything played is
    // kept, across seeks, stops and restarts.
    RawFile,
  };

  Kind kind = Kind::Default;
  std::string path;

  static GstAudioOutput RealTimeDiscard() { return {Kind::RealTimeDiscard, {}}; }
  static GstAudioOutput RawFile(std::string file) { return {Kind::RawFile, std::move(file)}; }
};

// Initialises GStreamer once for the process; false when it cannot run.
bool EnsureGstreamer();

// A new (floating) element that takes raw audio of any layout and plays it
// to `output`; nullptr when an element it needs is not installed.
GstElement* MakeAudioSink(const GstAudioOutput& output);

// A new (floating) playbin that plays only the sound of `uri` to `output`
// (a picture or a video stream in the file is left alone); nullptr when an
// element it needs is not installed.
GstElement* MakeAudioPlaybin(const std::string& uri, const GstAudioOutput& output);

}  // namespace orvel
