// What lives for the whole run of the program.
#pragma once

#include "graphics/random.h"
#include "settings/image_catalogue.h"
#include "settings/saver_settings.h"

namespace orvel {

struct AppState {
  SaverSettings settings;
  ImageCatalogue catalogue;
  // The display count the pointer had after the saver hid it.
  int CursorDisplayCount = 0;
  Random random;
};

}  // namespace orvel
