// The user's choices, as read from the settings file.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace orvel {

struct SaverSettings {
  std::int16_t PictureOrder = 0;    // 0: in name order; anything else: random
  std::int16_t PictureSize = 0;     // 0: own size, centred; anything else: fitted to the screen
  std::int16_t ChangeInterval = 0;  // seconds per picture
  std::string PictureFolder;        // "" when there is none
  std::array<std::int16_t, 4> PictureKinds{};  // bmp, gif, jpg, wmf; only 1 enables a kind
  std::int16_t BgmKind = 0;                    // 0: none, 1: audio CD, 2: music file
  std::int16_t BgmRepeatTrack = 0;             // CD track played over and over; 0: none
  std::string BgmFile;                         // "" when there is none
};

}  // namespace orvel
