#include "saver/orb_drawing.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace orvel {
namespace {

using DiscTable = std::array<DiscOffset, kDiscOffsetCount>;

// Ring by ring, each offset where it first appears: the rings' squares
// overlap, so an offset already taken by a smaller ring is passed over.
constexpr DiscTable MakeDiscTable() {
  DiscTable table{};
  std::size_t count = 0;
  for (int ring = 1; ring <= 10; ++ring) {
    const int r = 2 * ring;
    const int inner = r - 2;  // radius of the ring before
    for (int j = -r; j <= r; ++j) {
      for (int k = -r; k <= r; ++k) {
        const int d = j * j + k * k;
        if (d > r * r || (ring > 1 && d <= inner * inner)) continue;
        if (count < table.size()) {
          table[count] =
              DiscOffset{static_cast<std::int8_t>(j), static_cast<std::int8_t>(k),
                         static_cast<std::uint8_t>(ring), static_cast<std::uint8_t>(10 - ring)};
        }
        ++count;
      }
    }
  }
  // A wrong count fails the build rather than drawing a wrong disc.
  if (count != table.size()) throw "disc offset count";
  return table;
}

constexpr DiscTable kDiscTable = MakeDiscTable();

constexpr int kSide = 2 * kOrbRadius + 1;

// The same disc by rows: the weight of each offset, [k + 20][j + 20], and
// how far each row reaches either side of the centre column.
struct DiscRows {
  std::array<std::array<std::uint8_t, kSide>, kSide> weight{};
  std::array<int, kSide> halfWidth{};
};

constexpr DiscRows MakeDiscRows() {
  DiscRows rows{};
  for (const DiscOffset& o : kDiscTable) {
    rows.weight[static_cast<std::size_t>(o.k + kOrbRadius)]
               [static_cast<std::size_t>(o.j + kOrbRadius)] = o.weight;
    const int reach = o.j < 0 ? -o.j : o.j;
    auto& half = rows.halfWidth[static_cast<std::size_t>(o.k + kOrbRadius)];
    if (reach > half) half = reach;
  }
  return rows;
}

constexpr DiscRows kDiscRows = MakeDiscRows();

// What each weight adds to each channel for one orb.
struct Add {
  int r, g, b;
};
using OrbAdds = std::array<Add, 10>;

inline std::uint32_t Tinted(std::uint32_t source, const Add& add) {
  // Negative tints never come from the tint table; keep the channels within
  // 0 .. 255 all the same.
  const int r = std::clamp(RedOf(source) + add.r, 0, 255);
  const int g = std::clamp(GreenOf(source) + add.g, 0, 255);
  const int b = std::clamp(BlueOf(source) + add.b, 0, 255);
  return Rgb(r, g, b);
}

}  // namespace

std::span<const DiscOffset> DiscOffsets() { return kDiscTable; }

void CapturePixels(const Image& master, PixelMap& pixelMap) { CopyImage(pixelMap, master, 0, 0); }

void DrawOrbs(Image& display, const Orbs& orbs, int screenW, int screenH,
              const PixelMap& pixelMap) {
  // Columns 0 .. maxX - 1 and rows 0 .. maxY - 1 may be written.
  const int maxX = std::min({screenW - 1, display.Width(), pixelMap.Width()});
  const int maxY = std::min({screenH - 1, display.Height(), pixelMap.Height()});
  if (maxX <= 0 || maxY <= 0) return;

  std::array<OrbAdds, kOrbCount> adds;
  for (std::size_t i = 0; i < orbs.size(); ++i) {
    for (int weight = 0; weight < 10; ++weight) {
      adds[i][static_cast<std::size_t>(weight)] =
          Add{orbs[i].TintR * weight, orbs[i].TintG * weight, orbs[i].TintB * weight};
    }
  }

  const std::size_t displayStride = static_cast<std::size_t>(display.Width());
  const std::size_t mapStride = static_cast<std::size_t>(pixelMap.Width());
  std::uint32_t* out = display.Pixels().data();
  const std::uint32_t* in = pixelMap.Pixels().data();

  // The write order only matters where discs share pixels. An orb whose
  // 41 x 41 square meets no other orb's square is drawn on its own, row by
  // row; the others go through the disc table in write order together.
  std::array<bool, kOrbCount> isolated;
  isolated.fill(true);
  for (std::size_t a = 0; a < orbs.size(); ++a) {
    for (std::size_t b = a + 1; b < orbs.size(); ++b) {
      if (std::abs(orbs[a].X - orbs[b].X) < kSide && std::abs(orbs[a].Y - orbs[b].Y) < kSide) {
        isolated[a] = isolated[b] = false;
      }
    }
  }

  std::array<std::size_t, kOrbCount> shared;
  std::size_t sharedCount = 0;
  for (std::size_t i = 0; i < orbs.size(); ++i) {
    if (!isolated[i]) {
      shared[sharedCount++] = i;
      continue;
    }
    const int x = orbs[i].X;
    const int y = orbs[i].Y;
    for (int k = -kOrbRadius; k <= kOrbRadius; ++k) {
      const int py = y + k;
      if (py < 0 || py >= maxY) continue;
      const int half = kDiscRows.halfWidth[static_cast<std::size_t>(k + kOrbRadius)];
      const int from = std::max(-half, -x);
      const int to = std::min(half, maxX - 1 - x);
      const auto& weights = kDiscRows.weight[static_cast<std::size_t>(k + kOrbRadius)];
      std::uint32_t* outRow = out + static_cast<std::size_t>(py) * displayStride;
      const std::uint32_t* inRow = in + static_cast<std::size_t>(py) * mapStride;
      for (int j = from; j <= to; ++j) {
        const std::size_t px = static_cast<std::size_t>(x + j);
        outRow[px] = Tinted(inRow[px], adds[i][weights[static_cast<std::size_t>(j + kOrbRadius)]]);
      }
    }
  }
  if (sharedCount == 0) return;

  for (const DiscOffset& offset : kDiscTable) {
    for (std::size_t n = 0; n < sharedCount; ++n) {
      const std::size_t i = shared[n];
      const int px = orbs[i].X + offset.j;
      const int py = orbs[i].Y + offset.k;
      // One unsigned compare per axis also rejects negative positions.
      if (static_cast<unsigned>(px) >= static_cast<unsigned>(maxX) ||
          static_cast<unsigned>(py) >= static_cast<unsigned>(maxY)) {
        continue;
      }
      out[static_cast<std::size_t>(py) * displayStride + static_cast<std::size_t>(px)] =
          Tinted(in[static_cast<std::size_t>(py) * mapStride + static_cast<std::size_t>(px)],
                 adds[i][offset.weight]);
    }
  }
}

Rect OrbBounds(const Orb& orb, int screenW, int screenH) {
  const Rect square{orb.X - kOrbRadius, orb.Y - kOrbRadius, kSide, kSide};
  return Intersect(square, Rect{0, 0, screenW - 1, screenH - 1});
}

}  // namespace orvel
