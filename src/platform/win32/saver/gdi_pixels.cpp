#include "platform/win32/saver/gdi_pixels.h"

#include <algorithm>

namespace orvel {
namespace {

// How much of an area is drawn or read in one piece.
constexpr int kBandBytes = 256 * 1024;

// A 32-bit top-down DIB of width x height: rows from the top, pixels
// 0x00RRGGBB as the Image holds them.
BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

}  // namespace

void DrawFrameArea(HDC dc, const Frame& frame, const Rect& area, std::vector<std::uint32_t>& band) {
  frame.ComposeInBands(
      area, kBandBytes / 4, band, [dc](const Rect& rows, const std::uint32_t* pixels) {
        const BITMAPINFO info = TopDownInfo(rows.w, rows.h);
        SetDIBitsToDevice(dc, rows.x, rows.y, static_cast<DWORD>(rows.w),
                          static_cast<DWORD>(rows.h), 0, 0, 0, static_cast<UINT>(rows.h), pixels,
                          &info, DIB_RGB_COLORS);
      });
}

bool ReadDeviceArea(HDC dc, const Rect& area, Image& into) {
  if (area.Empty() || into.Width() < area.w || into.Height() < area.h) return false;
  const int bandRows = std::clamp(kBandBytes / (4 * area.w), 1, area.h);
  BITMAPINFO info = TopDownInfo(area.w, bandRows);
  void* bits = nullptr;
  HBITMAP band = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HDC memory = CreateCompatibleDC(dc);
  bool copied = band != nullptr && memory != nullptr;
  HGDIOBJ previous = copied ? SelectObject(memory, band) : nullptr;
  for (int top = 0; copied && top < area.h; top += bandRows) {
    const int rows = std::min(bandRows, area.h - top);
    // CAPTUREBLT: layered windows too, as the user sees them.
    copied =
        BitBlt(memory, 0, 0, area.w, rows, dc, area.x, area.y + top, SRCCOPY | CAPTUREBLT) != 0;
    GdiFlush();
    for (int row = 0; copied && row < rows; ++row) {
      const auto* source = static_cast<const std::uint32_t*>(bits) +
                           static_cast<std::size_t>(row) * static_cast<std::size_t>(area.w);
      std::uint32_t* target = into.Row(top + row);
      // The top byte is undefined in a 32-bit DIB; an Image's is always 0.
      for (int x = 0; x < area.w; ++x) target[x] = source[x] & 0x00FFFFFFu;
    }
  }
  if (previous != nullptr) SelectObject(memory, previous);
  if (memory != nullptr) DeleteDC(memory);
  if (band != nullptr) DeleteObject(band);
  return copied;
}

}  // namespace orvel
