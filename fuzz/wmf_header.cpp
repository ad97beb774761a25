// The placeable metafile header: any bytes; what it accepts has a size
// within the limit.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "graphics/wmf_header.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  if (std::optional<PlaceableMetafile> metafile = ReadPlaceableMetafile(bytes)) {
    if (metafile->width <= 0 || metafile->height <= 0 ||
        static_cast<long long>(metafile->width) * metafile->height > kMaxMetafilePixels) {
      std::abort();
    }
  }
  return 0;
}
