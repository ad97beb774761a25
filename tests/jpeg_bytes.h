// Baseline grey JPEGs written bit by bit, for the picture tests of both
// platforms: large ones are quick to make and small on disk.
#pragma once

#include <cstdlib>
#include <functional>
#include <string>

namespace orvel::jpeg_bytes {

// A width x height JPEG whose 8 x 8 block in block column bx and block row
// by is all of the grey shade(bx, by), which every decoder gives back
// exactly (each coefficient's quantiser is 1 and only the blocks' means are
// stored). Only as many blocks are written as `blocks` says (all of them by
// default). The mean's table has a four-bit code for each of the twelve
// sizes of a change, the other table one bit for a block's end.
inline std::string ShadedJpeg(int width, int height, const std::function<int(int, int)>& shade,
                              long long blocks = -1) {
  auto be16 = [](int value) {
    return std::string{static_cast<char>(value >> 8), static_cast<char>(value & 0xFF)};
  };
  std::string jpeg = "\xFF\xD8";
  jpeg += "\xFF\xDB" + be16(67) + '\0' + std::string(64, '\1');
  jpeg += "\xFF\xC0" + be16(11) + '\x08' + be16(height) + be16(width) + "\x01\x01\x11" + '\0';
  std::string meanCodes(16, '\0'), endCode(16, '\0'), sizes;
  meanCodes[3] = 12;
  endCode[0] = 1;
  for (char size = 0; size < 12; ++size) sizes += size;
  jpeg += "\xFF\xC4" + be16(49) + '\0' + meanCodes + sizes + '\x10' + endCode + '\0';
  jpeg += "\xFF\xDA" + be16(8) + "\x01\x01" + '\0' + '\0' + '\x3F' + '\0';

  std::string scan;
  unsigned byte = 0;
  int filled = 0;
  auto put = [&](int value, int length) {
    for (int bit = length - 1; bit >= 0; --bit) {
      byte = byte << 1 | ((static_cast<unsigned>(value) >> bit) & 1);
      if (++filled < 8) continue;
      scan += static_cast<char>(byte);
      if (byte == 0xFF) scan += '\0';  // a data byte, not a marker
      byte = 0;
      filled = 0;
    }
  };
  const int across = (width + 7) / 8;
  if (blocks < 0) blocks = static_cast<long long>(across) * ((height + 7) / 8);
  int mean = 0;
  for (long long i = 0; i < blocks; ++i) {
    const int next = 8 * (shade(static_cast<int>(i % across), static_cast<int>(i / across)) - 128);
    const int change = next - mean;
    mean = next;
    int size = 0;
    while ((std::abs(change) >> size) != 0) ++size;
    put(size, 4);
    put(change >= 0 ? change : change + (1 << size) - 1, size);
    put(0, 1);
  }
  while (filled != 0) put(1, 1);
  return jpeg + scan + "\xFF\xD9";
}

// The same all mid grey.
inline std::string GreyJpeg(int width, int height, long long blocks = -1) {
  return ShadedJpeg(
      width, height, [](int, int) { return 128; }, blocks);
}

}  // namespace orvel::jpeg_bytes
