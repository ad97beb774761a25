#include "saver/orb_drawing.h"

#include <algorithm>
#include <array>
#include <cstdlib>

namespace orvel {
namespace {

// One offset of an orb's disc with the weight of the ring it first falls in.
struct DiscOffset {
  std::int8_t j;        // columns from the centre, -20 .. 20
  std::int8_t k;        // rows from the centre, -20 .. 20
  std::uint8_t ring;    // 1 .. 10, radius 2 * ring
  std::uint8_t weight;  // 10 - ring, 9 at the centre down to 0 at the rim
};

// The disc's offsets in the order they are written: by ring, then j, then k.
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

// The same disc by rows: for each offset [k + 20][j + 20] its weight and its
// place in the write order (-1 outside the disc), and how far each row
// reaches either side of the centre column.
struct DiscRows {
  std::array<std::array<std::uint8_t, kOrbSide>, kOrbSide> weight{};
  std::array<std::array<std::int16_t, kOrbSide>, kOrbSide> order{};
  std::array<int, kOrbSide> halfWidth{};
};

constexpr DiscRows MakeDiscRows() {
  DiscRows rows{};
  for (auto& row : rows.order) row.fill(-1);
  std::int16_t place = 0;
  for (const DiscOffset& o : kDiscTable) {
    const auto k = static_cast<std::size_t>(o.k + kOrbRadius);
    const auto j = static_cast<std::size_t>(o.j + kOrbRadius);
    rows.weight[k][j] = o.weight;
    rows.order[k][j] = place++;
    const int reach = o.j < 0 ? -o.j : o.j;
    if (reach > rows.halfWidth[k]) rows.halfWidth[k] = reach;
  }
  return rows;
}

constexpr DiscRows kDiscRows = MakeDiscRows();

// When the write of orb i at offset (j, k) comes in the write order: by
// offset, then by orb index.
constexpr int WriteTime(int order, std::size_t orbIndex) {
  return order * kOrbCount + static_cast<int>(orbIndex);
}

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

// Whether one of the neighbours writes (px, py) after `time`.
bool LaterWriteElsewhere(const Orbs& orbs, const std::array<std::size_t, kOrbCount>& neighbours,
                         std::size_t count, int px, int py, int time) {
  for (std::size_t m = 0; m < count; ++m) {
    const std::size_t n = neighbours[m];
    const int j = px - orbs[n].X;
    const int k = py - orbs[n].Y;
    if (j < -kOrbRadius || j > kOrbRadius || k < -kOrbRadius || k > kOrbRadius) continue;
    const int order = kDiscRows.order[static_cast<std::size_t>(k + kOrbRadius)]
                                     [static_cast<std::size_t>(j + kOrbRadius)];
    if (order >= 0 && WriteTime(order, n) > time) return true;
  }
  return false;
}

}  // namespace

void CapturePixels(const Image& master, PixelMap& pixelMap) {
  if (&pixelMap != &master) CopyImage(pixelMap, master, 0, 0);
}

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

  // Each pixel is written once, by the orb whose write would come last in
  // the order above. Only orbs whose 41 x 41 squares meet can compete for a
  // pixel, so each orb checks just those neighbours.
  for (std::size_t i = 0; i < orbs.size(); ++i) {
    const int x = orbs[i].X;
    const int y = orbs[i].Y;
    std::array<std::size_t, kOrbCount> neighbours;
    std::size_t neighbourCount = 0;
    for (std::size_t n = 0; n < orbs.size(); ++n) {
      if (n != i && std::abs(orbs[n].X - x) < kOrbSide && std::abs(orbs[n].Y - y) < kOrbSide) {
        neighbours[neighbourCount++] = n;
      }
    }
    for (int k = -kOrbRadius; k <= kOrbRadius; ++k) {
      const int py = y + k;
      if (py < 0 || py >= maxY) continue;
      const auto row = static_cast<std::size_t>(k + kOrbRadius);
      const int half = kDiscRows.halfWidth[row];
      const int from = std::max(-half, -x);
      const int to = std::min(half, maxX - 1 - x);
      std::uint32_t* outRow = out + static_cast<std::size_t>(py) * displayStride;
      const std::uint32_t* inRow = in + static_cast<std::size_t>(py) * mapStride;
      // Rows of a large screen lie pages apart, where the processor does not
      // guess the next one: ask for the next row while this one is drawn.
      if (py + 1 < maxY && from <= to) {
        __builtin_prefetch(inRow + mapStride + x + from);
        __builtin_prefetch(outRow + displayStride + x + from, 1);
      }
      for (int j = from; j <= to; ++j) {
        const auto column = static_cast<std::size_t>(j + kOrbRadius);
        const int px = x + j;
        if (neighbourCount != 0 &&
            LaterWriteElsewhere(orbs, neighbours, neighbourCount, px, py,
                                WriteTime(kDiscRows.order[row][column], i))) {
          continue;
        }
        outRow[px] = Tinted(inRow[px], adds[i][kDiscRows.weight[row][column]]);
      }
    }
  }
}

Rect OrbBounds(const Orb& orb, int screenW, int screenH) {
  const Rect square{orb.X - kOrbRadius, orb.Y - kOrbRadius, kOrbSide, kOrbSide};
  return Intersect(square, Rect{0, 0, screenW - 1, screenH - 1});
}

}  // namespace orvel
