// The placeable header of a Windows metafile and the window its records
// set: what decides the picture's pixel size and which part of the drawing
// fills it. Plain byte reading, no library.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

struct PlaceableMetafile {
  // The picture's size in pixels at 96 dots per inch, as the Windows picture
  // loader gives it: the bounding box in HIMETRIC (1/100 mm), then in pixels,
  // each step rounded to the nearest whole number.
  int width = 0;
  int height = 0;
  // Logical units per inch.
  int inch = 0;
  // The logical rectangle that fills the picture: the window origin and
  // extent that the records set, or the bounding box for what they leave
  // unset (the player starts with the bounding box as the window). An
  // extent is negative where the window turns that axis.
  double windowX = 0;
  double windowY = 0;
  double windowWidth = 0;
  double windowHeight = 0;
  // Whether a record sets the window origin.
  bool setsWindowOrigin = false;
  // The arc, pie and chord records as the file holds them: where each ends
  // (in bytes from the start of the file) and its parameters (end y, end x,
  // start y, start x, bottom, right, top, left).
  struct Arc {
    std::size_t end = 0;
    std::array<int, 8> parameters{};
  };
  std::vector<Arc> arcs;
};

// The pictures larger than this many pixels are not loaded.
inline constexpr long long kMaxMetafilePixels = 1LL << 25;

// The placeable header's key and size in bytes.
inline constexpr std::uint32_t kPlaceableKey = 0x9AC6CDD7;
inline constexpr std::size_t kPlaceableSize = 22;

// The records that set the window, and the one that ends the file.
inline constexpr std::uint16_t kSetWindowOrg = 0x020B;
inline constexpr std::uint16_t kSetWindowExt = 0x020C;
inline constexpr std::uint16_t kEndOfFile = 0x0000;

// A metafile's fields, all little-endian: 16 bits unsigned and signed, and
// 32 bits. The bytes must reach past `at` by the field's size.
std::uint16_t MetafileWord(std::string_view bytes, std::size_t at);
std::int16_t MetafileShort(std::string_view bytes, std::size_t at);
std::uint32_t MetafileDoubleWord(std::string_view bytes, std::size_t at);

// nullopt when the bytes are not a placeable metafile (the Windows loader
// reads no other kind), when the units per inch are 0, when the bounding box
// is empty or inside out, or when the picture would be larger than
// kMaxMetafilePixels.
std::optional<PlaceableMetafile> ReadPlaceableMetafile(std::string_view bytes);

// Lowers the size of the largest record that the standard header claims to
// what the rest of the file could hold. The player sets that much memory
// aside before it reads the first record, so a corrupt header would have a
// 100-byte file ask for gigabytes; no record can be larger than the file.
void CapLargestRecordSize(std::string& bytes);

}  // namespace orvel
