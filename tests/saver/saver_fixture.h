// A whole saver on the headless platform: fake clock, scripted input, pictures
// from memory and a music device that records what it is told, all writing to
// one call log.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "app/app_state.h"
#include "graphics/image.h"
#include "graphics/random.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_saver.h"
#include "saver/saver.h"
#include "settings/image_catalogue.h"

namespace orvel {

using Calls = std::vector<std::string>;

// Every pixel different from its neighbours, so that a pixel restored from
// the wrong place or left unrestored shows.
inline Image NoiseImage(int width, int height, std::uint64_t seed) {
  Image image(width, height);
  Random random(seed);
  for (std::uint32_t& pixel : image.Pixels()) {
    pixel = static_cast<std::uint32_t>(random.Below(1 << 24));
  }
  return image;
}

inline bool AllBlack(const Image& image) {
  for (std::uint32_t pixel : image.Pixels()) {
    if (pixel != 0) return false;
  }
  return !image.Empty();
}

// Notes each load in the call log as "Load <path>"; `onLoad` runs before the
// file is read (to let the clock run on while a slow picture decodes).
class LoggingPictureLoader : public PictureLoader {
 public:
  explicit LoggingPictureLoader(CallLog& log) : log_(log) {}
  MemoryPictureLoader memory;
  std::function<void(const std::string& path)> onLoad;

  std::optional<Image> Load(const std::string& path) override {
    log_.Add("Load " + path);
    if (onLoad) onLoad(path);
    return memory.Load(path);
  }

 private:
  CallLog& log_;
};

// A file of the slideshow: its image, or nullopt for one that fails to load.
using PictureFile = std::pair<std::string, std::optional<Image>>;

struct SaverRig {
  // `arguments` is the command line the saver was started with; `seed` seeds
  // the program's generator, so two rigs of the same seed run alike.
  SaverRig(int width, int height, std::string arguments = "/s", std::uint64_t seed = 7)
      : host(platform.clock, platform.log, width, height),
        pictures(platform.log),
        music(platform.log),
        saver(state, SaverServices{host, pictures, music, platform.clock, platform.system},
              arguments) {
    state.random.Seed(seed);
  }

  HeadlessPlatform platform;
  HeadlessSaverHost host;
  LoggingPictureLoader pictures;
  RecordingMusic music;
  AppState state;
  Saver saver;

  // The catalogue as the start-up leaves it: the files in name order and a
  // display order built with the settings' PictureOrder.
  void UsePictures(const std::vector<PictureFile>& files) {
    ImageCatalogue& catalogue = state.catalogue;
    catalogue.ImageCount = static_cast<std::int16_t>(files.size());
    catalogue.ImageFiles.assign(1, "");
    for (const auto& [path, image] : files) {
      catalogue.ImageFiles.push_back(path);
      if (image) pictures.memory.pictures[path] = *image;
    }
    catalogue.DisplayOrder.assign(files.size() + 1, 0);
    BuildDisplayOrder(catalogue, state.settings.PictureOrder, state.random, platform.clock);
  }

  // What the start-up does in saver mode before the window loads: the
  // pointer hidden, its count kept. Not logged.
  void HidePointerAsStartUpDoes() {
    state.CursorDisplayCount = platform.system.ShowCursor(false);
    platform.log.calls.clear();
  }

  // The start sequence; frames are counted from the time it ends.
  void Start() {
    saver.Form_Load();
    start_ = platform.clock.now;
    frame_ = 0;
  }

  // Frames paced as Run paces them (frame k at k / 30 s after the start),
  // up to and including `ms`, while the saver runs. Each frame notes its
  // time in the log ("#<ms>") for TimedCalls.
  void RunUntil(std::int64_t ms) {
    while (!saver.Ended()) {
      const std::int64_t at = start_ + frame_ * 1000 / kFrameRate;
      if (at > ms) break;
      platform.clock.now = at;
      platform.log.Add("#" + std::to_string(at));
      saver.AnimationFrame();
      ++frame_;
    }
  }

  // The calls made, without the frame times.
  Calls CallsMade() const {
    Calls calls;
    for (const std::string& call : platform.log.calls) {
      if (call.front() != '#') calls.push_back(call);
    }
    return calls;
  }

  // The calls made, each with the time of its frame: "CdWatch@200". Calls of
  // the start sequence get the time before the first frame.
  Calls TimedCalls() const {
    Calls calls;
    std::string at = std::to_string(start_);
    for (const std::string& call : platform.log.calls) {
      if (call.front() == '#') {
        at = call.substr(1);
      } else {
        calls.push_back(call + "@" + at);
      }
    }
    return calls;
  }

  // The calls whose name begins with `prefix`, timed.
  Calls TimedCallsOf(const std::string& prefix) const {
    Calls calls;
    for (const std::string& call : TimedCalls()) {
      if (call.rfind(prefix, 0) == 0) calls.push_back(call);
    }
    return calls;
  }

  void ClearLog() { platform.log.calls.clear(); }

 private:
  std::int64_t start_ = 0;
  std::int64_t frame_ = 0;
};

}  // namespace orvel
