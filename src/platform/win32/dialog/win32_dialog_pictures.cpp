#include "platform/win32/dialog/win32_dialog_pictures.h"

#include <cstdint>
#include <cstring>
#include <vector>

namespace orvel {
namespace {

// A 32-bit top-down header: the core's 0x00RRGGBB pixels are GDI's BGRA
// bytes, so rows go over as they are.
BITMAPINFO TopDownInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// An icon or cursor from 32-bit pixels with alpha in the top byte (not
// premultiplied) and the mask that goes with them: set where nothing
// covers, for the systems that draw by the mask.
HICON MakeIcon(bool icon, int width, int height, const std::vector<std::uint32_t>& argb, int hotX,
               int hotY) {
  BITMAPINFO info = TopDownInfo(width, height);
  void* bits = nullptr;
  HBITMAP colour = CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (colour == nullptr) return nullptr;
  std::memcpy(bits, argb.data(), argb.size() * sizeof(std::uint32_t));
  // Monochrome rows are padded to 16 bits.
  const int maskStride = (width + 15) / 16 * 2;
  std::vector<std::uint8_t> maskBits(static_cast<std::size_t>(maskStride * height), 0);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      if ((argb[static_cast<std::size_t>(y * width + x)] >> 24) == 0) {
        maskBits[static_cast<std::size_t>(y * maskStride + x / 8)] |=
            static_cast<std::uint8_t>(0x80 >> (x % 8));
      }
    }
  }
  HBITMAP mask = CreateBitmap(width, height, 1, 1, maskBits.data());
  HICON result = nullptr;
  if (mask != nullptr) {
    ICONINFO parts{};
    parts.fIcon = icon ? TRUE : FALSE;
    parts.xHotspot = static_cast<DWORD>(hotX);
    parts.yHotspot = static_cast<DWORD>(hotY);
    parts.hbmMask = mask;
    parts.hbmColor = colour;
    result = CreateIconIndirect(&parts);
    DeleteObject(mask);
  }
  DeleteObject(colour);
  return result;
}

}  // namespace

void DrawImage(HDC dc, const Image& image) {
  if (image.Empty()) return;
  const BITMAPINFO info = TopDownInfo(image.Width(), image.Height());
  SetDIBitsToDevice(dc, 0, 0, static_cast<DWORD>(image.Width()), static_cast<DWORD>(image.Height()),
                    0, 0, 0, static_cast<UINT>(image.Height()), image.Pixels().data(), &info,
                    DIB_RGB_COLORS);
}

HCURSOR SpriteCursor(const Sprite& sprite, int hotX, int hotY) {
  if (sprite.colour.Empty()) return nullptr;
  std::vector<std::uint32_t> argb(sprite.colour.Pixels());
  for (std::size_t i = 0; i < argb.size(); ++i) {
    argb[i] = (argb[i] & 0xFFFFFFu) | (static_cast<std::uint32_t>(sprite.alpha[i]) << 24);
  }
  return static_cast<HCURSOR>(MakeIcon(false, sprite.Width(), sprite.Height(), argb, hotX, hotY));
}

HICON ImageIcon(const Image& image) {
  if (image.Empty()) return nullptr;
  std::vector<std::uint32_t> argb(image.Pixels());
  for (std::uint32_t& pixel : argb) pixel |= 0xFF000000u;
  return MakeIcon(true, image.Width(), image.Height(), argb, 0, 0);
}

}  // namespace orvel
