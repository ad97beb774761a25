// A whole saver on the headless platform: fake clock, scripted input, pictures from memory and
// a music device that records what it is told, all writing to one call log.
#pragma once

#include <cstdint>
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

// Every pixel unlike its neighbours: a pixel restored from the wrong place or not at all shows.
inline Image NoiseImage(int width, int height, std::uint64_t seed) {
  Image image(width, height);
  Random random(seed);
  for (std::uint32_t& pixel : image.Pixels())
    pixel = static_cast<std::uint32_t>(random.Below(1 << 24));
  return image;
}

// Pictures from memory, each load noted in the call log as "Load <path>".
struct LoggingPictureLoader : MemoryPictureLoader {
  explicit LoggingPictureLoader(CallLog& callLog) : log(callLog) {}
  CallLog& log;
  std::optional<Picture> Decode(const std::string& path, const DrawnSize& drawn) override {
    log.Add("Load " + path);
    return MemoryPictureLoader::Decode(path, drawn);
  }
};

// Loader: a MemoryPictureLoader made from the call log.
template <typename Loader>
struct SaverRigWith {
  explicit SaverRigWith(std::string arguments = "/s", int width = 97, int height = 61)
      : host(platform.clock, platform.log, width, height),
        pictures(platform.log),
        music(platform.log),
        saver(state, SaverServices{host, pictures, music, platform.clock, platform.system},
              arguments) {}

  HeadlessPlatform platform;
  HeadlessSaverHost host;
  Loader pictures;
  RecordingMusic music;
  AppState state;
  Saver saver;

  // The catalogue as the start-up leaves it: the files in name order (each with its image, or
  // nullopt for one that fails to load) and a display order built with PictureOrder.
  void UsePictures(const std::vector<std::pair<std::string, std::optional<Image>>>& files) {
    state.catalogue.ImageCount = static_cast<std::int16_t>(files.size());
    state.catalogue.ImageFiles.assign(1, "");
    for (const auto& [path, image] : files) {
      state.catalogue.ImageFiles.push_back(path);
      if (image) pictures.pictures[path] = *image;
    }
    BuildDisplayOrder(state.catalogue, state.settings.PictureOrder, state.random, platform.clock);
  }

  // Frames paced as Run paces them (frame k at k / 30 s), up to and including `ms`, while running.
  void RunUntil(std::int64_t ms) {
    for (std::int64_t at; !saver.Ended() && (at = frame * 1000 / kFrameRate) <= ms; ++frame) {
      platform.clock.now = at;
      platform.log.Add("#" + std::to_string(at));
      saver.AnimationFrame();
    }
  }

  // The calls starting with `prefix`, joined by ", ", when `timed` with their frame's time
  // ("x@200").
  std::string CallsMade(const std::string& prefix = "", bool timed = false) const {
    std::string calls, at = "0";
    for (const std::string& call : platform.log.calls) {
      if (call.front() == '#') at = call.substr(1);
      if (call.front() == '#' || !call.starts_with(prefix)) continue;
      calls += (calls.empty() ? "" : ", ") + call + (timed ? "@" + at : "");
    }
    return calls;
  }

  void ClearLog() { platform.log.calls.clear(); }
  std::int64_t frame = 0;  // the next frame's number
};
using SaverRig = SaverRigWith<LoggingPictureLoader>;

}  // namespace orvel
