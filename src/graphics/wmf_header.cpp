#include "graphics/wmf_header.h"

#include <cstdint>

namespace orvel {
namespace {

constexpr std::uint16_t kArc = 0x0817;
constexpr std::uint16_t kPie = 0x081A;
constexpr std::uint16_t kChord = 0x0830;
// Where the standard header (after the placeable one) keeps the size of the
// largest record, in 16-bit words.
constexpr std::size_t kLargestRecordAt = kPlaceableSize + 12;

// a * b / c rounded to the nearest whole number, halves away from zero
// (all three positive here).
long long MulDiv(long long a, long long b, long long c) { return (a * b + c / 2) / c; }

// Pixels at 96 dots per inch for a length in logical units.
long long Pixels(long long units, long long inch) {
  return MulDiv(MulDiv(units, 2540, inch), 96, 2540);
}

}  // namespace

std::uint16_t MetafileWord(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint16_t>(static_cast<unsigned char>(bytes[at]) |
                                    static_cast<unsigned char>(bytes[at + 1]) << 8);
}
std::int16_t MetafileShort(std::string_view bytes, std::size_t at) {
  return static_cast<std::int16_t>(MetafileWord(bytes, at));
}
std::uint32_t MetafileDoubleWord(std::string_view bytes, std::size_t at) {
  return static_cast<std::uint32_t>(MetafileWord(bytes, at)) |
         static_cast<std::uint32_t>(MetafileWord(bytes, at + 2)) << 16;
}

std::optional<PlaceableMetafile> ReadPlaceableMetafile(std::string_view bytes) {
  if (bytes.size() < kPlaceableSize || MetafileDoubleWord(bytes, 0) != kPlaceableKey)
    return std::nullopt;
  const int left = MetafileShort(bytes, 6);
  const int top = MetafileShort(bytes, 8);
  const int right = MetafileShort(bytes, 10);
  const int bottom = MetafileShort(bytes, 12);
  const int inch = MetafileWord(bytes, 14);
  if (inch == 0 || right <= left || bottom <= top) return std::nullopt;

  PlaceableMetafile metafile;
  const long long width = Pixels(right - left, inch);
  const long long height = Pixels(bottom - top, inch);
  if (width <= 0 || height <= 0 || width * height > kMaxMetafilePixels) return std::nullopt;
  metafile.width = static_cast<int>(width);
  metafile.height = static_cast<int>(height);
  metafile.inch = inch;
  metafile.windowX = left;
  metafile.windowY = top;
  metafile.windowWidth = right - left;
  metafile.windowHeight = bottom - top;

  // The records after the standard header: a size in 16-bit words, a
  // function number, then the parameters (for the window records: y, x).
  if (bytes.size() < kPlaceableSize + 6) return metafile;
  std::size_t at = kPlaceableSize + std::size_t{MetafileWord(bytes, kPlaceableSize + 2)} * 2;
  bool originSeen = false;
  bool extentSeen = false;
  while (at + 6 <= bytes.size()) {
    const std::uint32_t words = MetafileDoubleWord(bytes, at);
    const std::uint16_t function = MetafileWord(bytes, at + 4);
    if (function == kEndOfFile || words < 3 || words > (bytes.size() - at) / 2) break;
    if (words >= 5 && function == kSetWindowOrg && !originSeen) {
      metafile.windowY = MetafileShort(bytes, at + 6);
      metafile.windowX = MetafileShort(bytes, at + 8);
      metafile.setsWindowOrigin = true;
      originSeen = true;
    } else if (words >= 5 && function == kSetWindowExt && !extentSeen) {
      const int y = MetafileShort(bytes, at + 6);
      const int x = MetafileShort(bytes, at + 8);
      // An empty window is left to the bounding box.
      if (x != 0 && y != 0) {
        metafile.windowWidth = x;
        metafile.windowHeight = y;
      }
      extentSeen = true;
    } else if (words >= 11 && (function == kArc || function == kPie || function == kChord)) {
      PlaceableMetafile::Arc arc;
      arc.end = at + std::size_t{words} * 2;
      for (std::size_t i = 0; i < arc.parameters.size(); ++i) {
        arc.parameters[i] = MetafileShort(bytes, at + 6 + 2 * i);
      }
      metafile.arcs.push_back(arc);
    }
    at += std::size_t{words} * 2;
  }
  return metafile;
}

void CapLargestRecordSize(std::string& bytes) {
  if (bytes.size() < kLargestRecordAt + 4) return;
  const std::uint32_t words = static_cast<std::uint32_t>((bytes.size() - kPlaceableSize) / 2);
  if (MetafileDoubleWord(bytes, kLargestRecordAt) <= words) return;
  for (std::size_t i = 0; i < 4; ++i) {
    bytes[kLargestRecordAt + i] = static_cast<char>((words >> (8 * i)) & 0xFF);
  }
}

}  // namespace orvel
