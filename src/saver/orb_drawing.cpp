#include "saver/orb_drawing.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// What each weight adds to a pixel for one orb: its tint times the
// weight, channel by channel, at most 255 (and nothing for a negative tint,
// which the tint table never holds).
using OrbAdds = std::array<std::uint32_t, 10>;

OrbAdds AddsOf(const Orb& orb) {
  OrbAdds adds{};
  for (int weight = 0; weight < 10; ++weight) {
    adds[static_cast<std::size_t>(weight)] =
        Rgb(std::clamp(orb.TintR * weight, 0, 255), std::clamp(orb.TintG * weight, 0, 255),
            std::clamp(orb.TintB * weight, 0, 255));
  }
  return adds;
}

// The pixel with each channel of `add` added, at most 255: the three
// channels are added at once, the carry out of each byte kept apart and
// turned into 0xFF.
inline std::uint32_t Tinted(std::uint32_t pixel, std::uint32_t add) {
  constexpr std::uint32_t kLow = 0x7F7F7F7Fu;
  constexpr std::uint32_t kHigh = 0x80808080u;
  const std::uint32_t low = (pixel & kLow) + (add & kLow);
  const std::uint32_t carry = ((pixel & add) | ((pixel | add) & low)) & kHigh;
  return (low & kLow) | ((pixel ^ add ^ low) & kHigh) | ((carry >> 7) * 0xFFu);
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
  DrawOrbs(display.Bounds(), display.Pixels().data(), static_cast<std::size_t>(display.Width()),
           orbs, screenW, screenH, pixelMap);
}

void DrawOrbs(const Rect& area, std::uint32_t* into, std::size_t stride, const Orbs& orbs,
              int screenW, int screenH, const PixelMap& pixelMap) {
  // Columns left .. right - 1 and rows top .. bottom - 1 may be written.
  const int left = std::max(area.x, 0);
  const int top = std::max(area.y, 0);
  const int right = std::min({area.Right(), screenW - 1, pixelMap.Width()});
  const int bottom = std::min({area.Bottom(), screenH - 1, pixelMap.Height()});
  if (left >= right || top >= bottom) return;

  const std::size_t mapStride = static_cast<std::size_t>(pixelMap.Width());
  const std::uint32_t* in = pixelMap.Pixels().data();

  // Each pixel is written once, by the orb whose write would come last in
  // the order above. Only orbs whose 41 x 41 squares meet can compete for a
  // pixel, so each orb checks just those neighbours.
  for (std::size_t i = 0; i < orbs.size(); ++i) {
    const int x = orbs[i].X;
    const int y = orbs[i].Y;
    if (x + kOrbRadius < left || x - kOrbRadius >= right || y + kOrbRadius < top ||
        y - kOrbRadius >= bottom) {
      continue;
    }
#if defined(__SSE2__)
    // The tint in 16-bit lanes as a pixel's bytes lie, blue first, for two
    // pixels; kept within 0 .. 255, where any weight but 0 saturates anyway.
    const auto lane = [](std::int16_t channel) {
      return static_cast<std::int16_t>(std::clamp<int>(channel, 0, 255));
    };
    const __m128i tint =
        _mm_setr_epi16(lane(orbs[i].TintB), lane(orbs[i].TintG), lane(orbs[i].TintR), 0,
                       lane(orbs[i].TintB), lane(orbs[i].TintG), lane(orbs[i].TintR), 0);
#endif
    const OrbAdds adds = AddsOf(orbs[i]);
    std::array<std::size_t, kOrbCount> neighbours;
    std::size_t neighbourCount = 0;
    for (std::size_t n = 0; n < orbs.size(); ++n) {
      if (n != i && std::abs(orbs[n].X - x) < kOrbSide && std::abs(orbs[n].Y - y) < kOrbSide) {
        neighbours[neighbourCount++] = n;
      }
    }
    for (int py = std::max(y - kOrbRadius, top); py <= std::min(y + kOrbRadius, bottom - 1); ++py) {
      const auto row = static_cast<std::size_t>(py - y + kOrbRadius);
      const int half = kDiscRows.halfWidth[row];
      std::uint32_t* outRow = into + static_cast<std::size_t>(py - area.y) * stride;
      const std::uint32_t* inRow = in + static_cast<std::size_t>(py) * mapStride;
      int px = std::max(x - half, left);
      const int last = std::min(x + half, right - 1);
#if defined(__SSE2__)
      // Where no other orb competes, four pixels at a time, each add worked
      // out as tint times weight in 16 bits and saturated to 255.
      for (; neighbourCount == 0 && px + 3 <= last; px += 4) {
        std::int32_t fourWeights = 0;
        std::memcpy(&fourWeights,
                    &kDiscRows.weight[row][static_cast<std::size_t>(px - x + kOrbRadius)], 4);
        __m128i weight = _mm_unpacklo_epi8(_mm_cvtsi32_si128(fourWeights), _mm_setzero_si128());
        weight = _mm_unpacklo_epi16(weight, weight);
        const __m128i add =
            _mm_packus_epi16(_mm_mullo_epi16(_mm_unpacklo_epi32(weight, weight), tint),
                             _mm_mullo_epi16(_mm_unpackhi_epi32(weight, weight), tint));
        const __m128i under = _mm_loadu_si128(reinterpret_cast<const __m128i*>(inRow + px));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(outRow + (px - area.x)),
                         _mm_adds_epu8(under, add));
      }
#endif
      for (; px <= last; ++px) {
        const auto column = static_cast<std::size_t>(px - x + kOrbRadius);
        if (neighbourCount != 0 &&
            LaterWriteElsewhere(orbs, neighbours, neighbourCount, px, py,
                                WriteTime(kDiscRows.order[row][column], i))) {
          continue;
        }
        outRow[px - area.x] = Tinted(inRow[px], adds[kDiscRows.weight[row][column]]);
      }
    }
  }
}

Rect OrbBounds(const Orb& orb, int screenW, int screenH) {
  const Rect square{orb.X - kOrbRadius, orb.Y - kOrbRadius, kOrbSide, kOrbSide};
  return Intersect(square, Rect{0, 0, screenW - 1, screenH - 1});
}

}  // namespace orvel
