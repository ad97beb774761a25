// 32-bit images in memory and the few copy operations the saver and the
// dialog need: fill, plain copy, nearest-neighbour stretch.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orvel {

// A pixel value: 0x00RRGGBB, blue in the lowest byte, the top byte 0.
constexpr std::uint32_t Rgb(int r, int g, int b) {
  return (static_cast<std::uint32_t>(r & 0xFF) << 16) |
         (static_cast<std::uint32_t>(g & 0xFF) << 8) | static_cast<std::uint32_t>(b & 0xFF);
}
constexpr int RedOf(std::uint32_t pixel) { return static_cast<int>((pixel >> 16) & 0xFF); }
constexpr int GreenOf(std::uint32_t pixel) { return static_cast<int>((pixel >> 8) & 0xFF); }
constexpr int BlueOf(std::uint32_t pixel) { return static_cast<int>(pixel & 0xFF); }

// A rectangle of pixels: columns x to x + w - 1, rows y to y + h - 1. A
// width or height of 0 or less is empty.
struct Rect {
  int x = 0;
  int y = 0;
  int w = 0;
  int h = 0;

  bool Empty() const { return w <= 0 || h <= 0; }
  int Right() const { return x + w; }   // one past the last column
  int Bottom() const { return y + h; }  // one past the last row
  friend bool operator==(const Rect&, const Rect&) = default;
};

// The common part of two rectangles; an empty Rect{} when they do not meet.
Rect Intersect(const Rect& a, const Rect& b);

// The smallest rectangle holding both; an empty one does not count.
Rect Union(const Rect& a, const Rect& b);

class Image {
 public:
  Image() = default;
  // A width or height of 0 or less gives an empty image.
  Image(int width, int height, std::uint32_t colour = 0);

  int Width() const { return width_; }
  int Height() const { return height_; }
  bool Empty() const { return width_ == 0 || height_ == 0; }
  Rect Bounds() const { return Rect{0, 0, width_, height_}; }

  // Unchecked access; (x, y) must lie inside the image.
  std::uint32_t At(int x, int y) const { return pixels_[Index(x, y)]; }
  void Set(int x, int y, std::uint32_t colour) { pixels_[Index(x, y)] = colour; }

  // Row y, top row 0, Width() pixels.
  std::uint32_t* Row(int y) { return pixels_.data() + Index(0, y); }
  const std::uint32_t* Row(int y) const { return pixels_.data() + Index(0, y); }

  std::vector<std::uint32_t>& Pixels() { return pixels_; }
  const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

  friend bool operator==(const Image&, const Image&) = default;

 private:
  std::size_t Index(int x, int y) const {
    return static_cast<std::size_t>(y) * static_cast<std::size_t>(width_) +
           static_cast<std::size_t>(x);
  }

  int width_ = 0;
  int height_ = 0;
  std::vector<std::uint32_t> pixels_;
};

// Every pixel of the image set to one colour.
void Fill(Image& image, std::uint32_t colour);

// The whole of src copied unchanged into dst with its top-left corner at
// (x, y). Positions may be negative or beyond dst; only the part that falls
// inside dst is written.
void CopyImage(Image& dst, const Image& src, int x, int y);

// The whole of src scaled to dw x dh and placed at (x, y) in dst, clipped to
// dst. Nearest neighbour only: destination column i shows source column
// floor((i + 0.5) * w / dw), rows likewise, so source rows and columns are
// dropped or repeated but never blended. dw or dh of 0 or less draws nothing.
void StretchImage(Image& dst, const Image& src, int x, int y, int dw, int dh);

}  // namespace orvel
