// Pictures on Windows: BMP, GIF, JPEG, PNG and whatever else the Windows
// Imaging Component reads, and metafiles through GDI.
#pragma once

#include <string>

#include "platform/platform.h"
#include "platform/win32/pictures/win32_metafile.h"

namespace orvel {

// No more pixels than this are decoded, whatever the format: the same bound
// metafiles have.
inline constexpr long long kMaxPicturePixels = kMaxMetafilePixels;
// Pictures whose own size, as their header gives it, is larger than this are
// refused before anything is decoded, even where a smaller size would do.
inline constexpr long long kMaxPictureOwnPixels = 1LL << 30;

// Reads the file at a UTF-8 path. A metafile (known by its first bytes,
// whatever the file's name) is drawn on white at its size at the screen's
// dots per inch (see ReadMetafile), or at the size drawn where that is
// smaller. Anything else goes to the imaging
// component: the first frame, transparent parts laid over black (as they
// show over the slideshow's black background), the orientation a camera
// records in a JPEG not applied. A picture drawn smaller than it is comes
// whole at the size drawn, scaled by the imaging component while it decodes;
// one drawn at its own size comes as the part of it that shows
// (DrawnSize::Shown), the imaging component asked for that rectangle only, so
// a camera photo larger than the screen shows. nullopt
// when the file is missing or cannot be read or decoded, when more than
// kMaxPicturePixels would be decoded or the picture is larger than
// kMaxPictureOwnPixels, or when there is no memory for it.
//
// Safe to call from any thread: COM is set up for the call on the calling
// thread (joining the thread's own apartment where it already has one).
class Win32PictureLoader : public PictureLoader {
 public:
  std::optional<Picture> Decode(const std::string& path, const DrawnSize& drawn) override;
};

}  // namespace orvel
