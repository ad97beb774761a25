#include "platform/win32/pictures/win32_metafile.h"

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <memory>
#include <new>
#include <type_traits>
#include <utility>

#include "platform/win32/pictures/win32_metafile_shapes.h"

namespace orvel {
namespace {

// The standard header: type, header size (9 words), version, size in words,
// number of objects, largest record in words, unused.
constexpr std::size_t kHeaderSize = 18;
constexpr std::size_t kSizeAt = 6;
constexpr std::size_t kLargestRecordAt = 12;
constexpr std::uint16_t kMemoryMetafile = 1;
constexpr std::uint16_t kVersion3 = 0x0300;
constexpr std::uint32_t kEndOfFileWords = 3;

void PutWord(std::string& bytes, std::size_t at, std::uint32_t value) {
  bytes[at] = static_cast<char>(value & 0xFF);
  bytes[at + 1] = static_cast<char>((value >> 8) & 0xFF);
}
void PutDoubleWord(std::string& bytes, std::size_t at, std::uint32_t value) {
  PutWord(bytes, at, value & 0xFFFF);
  PutWord(bytes, at + 2, value >> 16);
}

bool IsPlaceable(std::string_view bytes) {
  return bytes.size() >= 4 && MetafileDoubleWord(bytes, 0) == kPlaceableKey;
}

// Whether a standard header starts the bytes: a memory or disk metafile of
// version 1 or 3 with a header of nine words.
bool IsStandardHeader(std::string_view bytes) {
  if (bytes.size() < 6) return false;
  const std::uint16_t type = MetafileWord(bytes, 0);
  const std::uint16_t version = MetafileWord(bytes, 4);
  return (type == 1 || type == 2) && MetafileWord(bytes, 2) == 9 &&
         (version == 0x0100 || version == 0x0300);
}

// a * b / c rounded to the nearest whole number, halves away from zero
// (all three positive here).
long long MulDiv(long long a, long long b, long long c) { return (a * b + c / 2) / c; }

// The window the first window records set, where they do.
struct RecordedWindow {
  std::optional<std::pair<int, int>> origin;  // x, y
  std::optional<std::pair<int, int>> extent;  // width, height
};

// The records repaired as ReadMetafile describes, with the window they set.
std::optional<std::pair<std::string, RecordedWindow>> Repair(std::string_view bytes) {
  if (bytes.size() < kHeaderSize || !IsStandardHeader(bytes)) return std::nullopt;
  RecordedWindow window;
  std::uint32_t largest = kEndOfFileWords;
  std::size_t at = kHeaderSize;
  while (at + 6 <= bytes.size()) {
    const std::uint32_t words = MetafileDoubleWord(bytes, at);
    const std::uint16_t function = MetafileWord(bytes, at + 4);
    if (function == kEndOfFile || words < 3 || words > (bytes.size() - at) / 2) break;
    if (words >= 5 && function == kSetWindowOrg && !window.origin) {
      window.origin = {MetafileShort(bytes, at + 8), MetafileShort(bytes, at + 6)};
    } else if (words >= 5 && function == kSetWindowExt && !window.extent) {
      window.extent = {MetafileShort(bytes, at + 8), MetafileShort(bytes, at + 6)};
    }
    largest = std::max(largest, words);
    at += std::size_t{words} * 2;
  }
  std::string records(bytes.substr(0, at));
  records.append("\x03\x00\x00\x00\x00\x00", 6);
  // GDI takes only memory metafiles of version 3, which both kinds read as.
  PutWord(records, 0, kMemoryMetafile);
  PutWord(records, 4, kVersion3);
  PutDoubleWord(records, kSizeAt, static_cast<std::uint32_t>(records.size() / 2));
  PutDoubleWord(records, kLargestRecordAt, largest);
  return std::pair{std::move(records), window};
}

// Frees a GDI object or DC when it goes.
struct DcDeleter {
  void operator()(HDC dc) const { DeleteDC(dc); }
};
struct ObjectDeleter {
  void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct MetafileDeleter {
  void operator()(HMETAFILE metafile) const { DeleteMetaFile(metafile); }
};

}  // namespace

bool LooksLikeMetafile(std::string_view bytes) {
  return IsPlaceable(bytes) || IsStandardHeader(bytes);
}

std::optional<Metafile> ReadMetafile(std::string_view bytes, int dpiX, int dpiY) {
  if (dpiX <= 0 || dpiY <= 0) return std::nullopt;
  Metafile metafile;
  long long width = 0;
  long long height = 0;
  if (IsPlaceable(bytes)) {
    if (bytes.size() < kPlaceableSize) return std::nullopt;
    const int left = MetafileShort(bytes, 6);
    const int top = MetafileShort(bytes, 8);
    const int right = MetafileShort(bytes, 10);
    const int bottom = MetafileShort(bytes, 12);
    const int inch = MetafileWord(bytes, 14);
    if (inch == 0 || right <= left || bottom <= top) return std::nullopt;
    width = MulDiv(MulDiv(right - left, 2540, inch), dpiX, 2540);
    height = MulDiv(MulDiv(bottom - top, 2540, inch), dpiY, 2540);
    metafile.windowX = left;
    metafile.windowY = top;
    metafile.windowWidth = right - left;
    metafile.windowHeight = bottom - top;
    bytes.remove_prefix(kPlaceableSize);
  }
  auto repaired = Repair(bytes);
  if (!repaired) return std::nullopt;
  metafile.records = std::move(repaired->first);
  if (metafile.windowWidth == 0) {
    const RecordedWindow& window = repaired->second;
    if (!window.extent || window.extent->first <= 0 || window.extent->second <= 0) {
      return std::nullopt;
    }
    if (window.origin) {
      metafile.windowX = window.origin->first;
      metafile.windowY = window.origin->second;
    }
    metafile.windowWidth = window.extent->first;
    metafile.windowHeight = window.extent->second;
    width = MulDiv(metafile.windowWidth, dpiX, 96);
    height = MulDiv(metafile.windowHeight, dpiY, 96);
  }
  if (width <= 0 || height <= 0 || width * height > kMaxMetafilePixels) return std::nullopt;
  metafile.width = static_cast<int>(width);
  metafile.height = static_cast<int>(height);
  return metafile;
}

std::optional<Image> DrawMetafile(const Metafile& metafile) {
  const std::unique_ptr<std::remove_pointer_t<HMETAFILE>, MetafileDeleter> played(
      SetMetaFileBitsEx(static_cast<UINT>(metafile.records.size()),
                        reinterpret_cast<const BYTE*>(metafile.records.data())));
  if (!played) return std::nullopt;

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = metafile.width;
  info.bmiHeader.biHeight = -metafile.height;  // top row first
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  const std::unique_ptr<std::remove_pointer_t<HGDIOBJ>, ObjectDeleter> bitmap(
      CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  const std::unique_ptr<std::remove_pointer_t<HDC>, DcDeleter> dc(CreateCompatibleDC(nullptr));
  if (!bitmap || bits == nullptr || !dc) return std::nullopt;
  const HGDIOBJ previous = SelectObject(dc.get(), bitmap.get());
  const std::size_t pixels =
      static_cast<std::size_t>(metafile.width) * static_cast<std::size_t>(metafile.height);
  std::memset(bits, 0xFF, pixels * 4);  // white

  // The picture object's mapping: the window fills the picture, and the
  // records' own window records move or resize it from there.
  SetMapMode(dc.get(), MM_ANISOTROPIC);
  SetWindowOrgEx(dc.get(), metafile.windowX, metafile.windowY, nullptr);
  SetWindowExtEx(dc.get(), metafile.windowWidth, metafile.windowHeight, nullptr);
  SetViewportOrgEx(dc.get(), 0, 0, nullptr);
  SetViewportExtEx(dc.get(), metafile.width, metafile.height, nullptr);
  // A record GDI cannot play makes the whole play report failure, yet what
  // the others drew stands, as it does in any other program that shows the
  // file.
  PlayMetafileCut(dc.get(), played.get(), metafile.width, metafile.height);
  GdiFlush();
  SelectObject(dc.get(), previous);

  try {
    Image image(metafile.width, metafile.height);
    const auto* source = static_cast<const std::uint32_t*>(bits);
    std::uint32_t* target = image.Pixels().data();
    for (std::size_t i = 0; i < pixels; ++i) target[i] = source[i] & 0x00FFFFFF;
    return image;
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace orvel
