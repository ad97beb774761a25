// Windows metafiles drawn through GDI: the placeable kind, whose 22-byte
// header gives the picture's size, and the plain kind, whose size is the
// window its records set. The bytes are checked and repaired before GDI
// sees them, so that a corrupt header cannot make it read past the file or
// set aside more memory than the file could need.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "graphics/image.h"
#include "graphics/wmf_header.h"

namespace orvel {

// Metafiles larger than this are not read.
inline constexpr std::size_t kMaxMetafileBytes = std::size_t{64} << 20;

// A metafile ready to play: its size in pixels, the logical window that
// fills it, and the records (the standard header and what follows it).
struct Metafile {
  int width = 0;
  int height = 0;
  int windowX = 0;
  int windowY = 0;
  int windowWidth = 0;
  int windowHeight = 0;
  std::string records;
};

// Whether the bytes begin as a metafile does (placeable or plain).
bool LooksLikeMetafile(std::string_view bytes);

// The metafile in the bytes, sized for a screen of dpiX x dpiY dots per
// inch. A placeable one takes its bounding box, converted as the system's
// picture object converts it: to HIMETRIC (1/100 mm), then to pixels, each
// step rounded to the nearest whole number. A plain one takes the window
// its first window-origin and window-extent records set, counted in pixels
// at 96 dots per inch (a plain metafile played as it is draws one unit to
// the pixel at the screen's own scale). The records are cut after the first
// one that runs past the file or claims fewer than its own three words, and
// end with an end-of-file record; the header's size and largest record are
// set to what remains. nullopt when the bytes are no metafile, the units
// per inch are 0, the box or window is empty or inside out, or the picture
// would be larger than kMaxMetafilePixels.
std::optional<Metafile> ReadMetafile(std::string_view bytes, int dpiX, int dpiY);

// The metafile drawn on white at its size: its window mapped onto the
// picture, shapes reaching far beyond it cut (see PlayMetafileCut). nullopt when GDI
// refuses the records or has no memory for the picture.
std::optional<Image> DrawMetafile(const Metafile& metafile);

}  // namespace orvel
