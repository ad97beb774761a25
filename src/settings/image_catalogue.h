// The pictures of the chosen folder, sorted by name, and the order in which
// the slideshow walks them.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "graphics/random.h"
#include "platform/platform.h"

namespace orvel {

constexpr int kMaxImages = 32767;

struct ImageCatalogue {
  std::int16_t ImageCount = 0;
  // Positions 1 to ImageCount hold full paths; position 0 is never used.
  std::vector<std::string> ImageFiles{""};
  // Positions 1 to ImageCount hold positions of ImageFiles; position 0 is
  // never used. Empty until the first BuildDisplayOrder, which the start-up
  // runs only when there are pictures.
  std::vector<std::int16_t> DisplayOrder;
  // The attribute value of the scan pass in progress (0, 32 or 1).
  std::int16_t ScanAttribute = 0;
};

// Lists the enabled kinds of `folder` in three passes (attribute values 0,
// 32, 1), then sorts. An empty folder text leaves the catalogue empty.
void BuildCatalogue(ImageCatalogue& catalogue, const std::string& folder,
                    const std::array<std::int16_t, 4>& kinds, FileSystem& files);

// Appends the files matching `pattern` whose attribute value is exactly
// `attribute`; stops silently at the first error or at kMaxImages.
void ScanPattern(ImageCatalogue& catalogue, const std::string& pattern, int attribute,
                 FileSystem& files);

// Sorts positions 1 to ImageCount by byte value.
void SortCatalogue(ImageCatalogue& catalogue);

// Fills positions 1 to ImageCount of DisplayOrder (allocating it when it is
// too small): 1, 2, 3... when pictureOrder is 0, otherwise a uniformly
// random permutation, after re-seeding `random` from the clock.
void BuildDisplayOrder(ImageCatalogue& catalogue, std::int16_t pictureOrder, Random& random,
                       Clock& clock);

// Whether `path` names an existing folder.
bool FolderExists(const std::string& path, FileSystem& files);

}  // namespace orvel
