// A whole saver on the headless platform, for the commands that run one:
// fake clock, in-memory screen, pictures read from disk, music recorded.
#pragma once

#include "app/app_state.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_saver.h"
#include "platform/linux/pictures/pixbuf_pictures.h"
#include "saver/saver.h"

namespace orvel {

struct HeadlessSaverRun {
  HeadlessSaverRun(int width, int height, std::uint64_t seed)
      : host(platform.clock, platform.log, width, height), music(platform.log) {
    state.random.Seed(seed);
  }

  HeadlessPlatform platform;
  HeadlessSaverHost host;
  PixbufPictureLoader pictures;
  RecordingMusic music;
  AppState state;
  // A test run (no switch on the command line): the pointer stays and mouse
  // movement is ignored; nothing here delivers input anyway.
  Saver saver{state, SaverServices{host, pictures, music, platform.clock, platform.system}, ""};
};

}  // namespace orvel
