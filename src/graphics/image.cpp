#include "graphics/image.h"

#include <algorithm>
#include <cstring>

namespace orvel {

Rect Intersect(const Rect& a, const Rect& b) {
  if (a.Empty() || b.Empty()) return Rect{};
  const int left = std::max(a.x, b.x);
  const int top = std::max(a.y, b.y);
  const int right = std::min(a.Right(), b.Right());
  const int bottom = std::min(a.Bottom(), b.Bottom());
  if (right <= left || bottom <= top) return Rect{};
  return Rect{left, top, right - left, bottom - top};
}

Rect Union(const Rect& a, const Rect& b) {
  if (a.Empty()) return b.Empty() ? Rect{} : b;
  if (b.Empty()) return a;
  const int left = std::min(a.x, b.x);
  const int top = std::min(a.y, b.y);
  const int right = std::max(a.Right(), b.Right());
  const int bottom = std::max(a.Bottom(), b.Bottom());
  return Rect{left, top, right - left, bottom - top};
}

Image::Image(int width, int height, std::uint32_t colour) {
  if (width <= 0 || height <= 0) return;
  width_ = width;
  height_ = height;
  pixels_.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour);
}

void Fill(Image& image, std::uint32_t colour) {
  std::fill(image.Pixels().begin(), image.Pixels().end(), colour);
}

void CopyImage(Image& dst, const Image& src, int x, int y) {
  // Work in 64 bits: a far-off position must not wrap round into the image.
  const long long left = std::max<long long>(0, x);
  const long long top = std::max<long long>(0, y);
  const long long right = std::min<long long>(dst.Width(), static_cast<long long>(x) + src.Width());
  const long long bottom =
      std::min<long long>(dst.Height(), static_cast<long long>(y) + src.Height());
  if (right <= left || bottom <= top) return;
  const auto count = static_cast<std::size_t>(right - left);
  for (long long row = top; row < bottom; ++row) {
    const std::uint32_t* from =
        src.Row(static_cast<int>(row - y)) + static_cast<std::ptrdiff_t>(left - x);
    std::memcpy(dst.Row(static_cast<int>(row)) + left, from, count * sizeof(std::uint32_t));
  }
}

void StretchImage(Image& dst, const Image& src, int x, int y, int dw, int dh) {
  if (dw <= 0 || dh <= 0 || src.Empty() || dst.Empty()) return;
  // Destination indices i (0 .. dw - 1) that land inside dst.
  const long long firstColumn = std::max<long long>(0, -static_cast<long long>(x));
  const long long endColumn = std::min<long long>(dw, static_cast<long long>(dst.Width()) - x);
  const long long firstRow = std::max<long long>(0, -static_cast<long long>(y));
  const long long endRow = std::min<long long>(dh, static_cast<long long>(dst.Height()) - y);
  if (endColumn <= firstColumn || endRow <= firstRow) return;

  // floor((i + 0.5) * n / d) in whole numbers: floor((2i + 1) * n / (2d)).
  auto sample = [](long long i, int n, int d) {
    return static_cast<int>((2 * i + 1) * n / (2 * static_cast<long long>(d)));
  };

  std::vector<int> columns(static_cast<std::size_t>(endColumn - firstColumn));
  for (long long i = firstColumn; i < endColumn; ++i) {
    columns[static_cast<std::size_t>(i - firstColumn)] = sample(i, src.Width(), dw);
  }

  const std::uint32_t* previousLine = nullptr;
  int previousSource = -1;
  for (long long i = firstRow; i < endRow; ++i) {
    const int sourceRow = sample(i, src.Height(), dh);
    std::uint32_t* line = dst.Row(static_cast<int>(y + i)) + (x + firstColumn);
    if (sourceRow == previousSource) {
      // A repeated source row: the finished line above is the same.
      std::memcpy(line, previousLine, columns.size() * sizeof(std::uint32_t));
    } else {
      const std::uint32_t* from = src.Row(sourceRow);
      for (std::size_t c = 0; c < columns.size(); ++c) line[c] = from[columns[c]];
    }
    previousLine = line;
    previousSource = sourceRow;
  }
}

}  // namespace orvel
