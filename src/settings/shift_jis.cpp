#include "settings/shift_jis.h"

#include <cstdint>
#include <vector>

#include "settings/utf8.h"

namespace orvel {
namespace {

#include "settings/shift_jis_table.inc"

constexpr int kTrailCount = 0xFC - 0x40 + 1;  // 189 trail bytes per lead byte
constexpr char32_t kReplacement = 0xFFFD;

bool IsTrailByte(unsigned char byte) { return byte >= 0x40 && byte <= 0xFC && byte != 0x7F; }

int LeadIndex(unsigned char lead) { return lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + 0x1F; }

// The character of a lead and trail byte; 0 when the pair is unmapped.
char16_t DecodePair(unsigned char lead, unsigned char trail) {
  return kDoubleByte[LeadIndex(lead) * kTrailCount + (trail - 0x40)];
}

// For every character of the Basic Multilingual Plane, its Shift-JIS bytes:
// a single byte as its value, a pair as lead * 256 + trail, 0 when it has
// none (U+0000 itself is handled by the caller).
using ReverseMap = std::vector<std::uint16_t>;

ReverseMap BuildReverseMap() {
  ReverseMap map(0x10000, 0);
  for (int byte = 1; byte < 256; ++byte) {
    if (kSingleByte[byte] != 0) map[kSingleByte[byte]] = static_cast<std::uint16_t>(byte);
  }
  // A character with two encodings maps back to its preferred one only.
  std::vector<bool> notPreferred(0x10000, false);
  for (unsigned short pair : kNotPreferred) notPreferred[pair] = true;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsShiftJisLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      char16_t c = DecodePair(static_cast<unsigned char>(lead), static_cast<unsigned char>(trail));
      auto pair = static_cast<std::uint16_t>(lead << 8 | trail);
      if (c != 0 && !notPreferred[pair]) map[c] = pair;
    }
  }
  return map;
}

const ReverseMap& Reverse() {
  static const ReverseMap map = BuildReverseMap();
  return map;
}

}  // namespace

bool IsShiftJisLeadByte(unsigned char byte) {
  return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

int ShiftJisWidth(char32_t c) {
  if (c == 0) return 1;
  if (c > 0xFFFF) return 0;
  const std::uint16_t code = Reverse()[c];
  if (code == 0) return 0;
  return code > 0xFF ? 2 : 1;
}

std::string ShiftJisToUtf8(std::string_view bytes, bool* complete) {
  std::string out;
  out.reserve(bytes.size() * 3 / 2);
  bool all = true;
  std::size_t i = 0;
  while (i < bytes.size()) {
    auto byte = static_cast<unsigned char>(bytes[i]);
    if (!IsShiftJisLeadByte(byte)) {
      // Every byte that does not lead a pair has a character of its own.
      AppendUtf8(out, kSingleByte[byte]);
      ++i;
      continue;
    }
    if (i + 1 >= bytes.size() || !IsTrailByte(static_cast<unsigned char>(bytes[i + 1]))) {
      // A lead byte without a trail: only the lead byte is lost, so that the
      // byte after it (a line break, say) still reads as itself.
      AppendUtf8(out, kReplacement);
      all = false;
      ++i;
      continue;
    }
    char16_t c = DecodePair(byte, static_cast<unsigned char>(bytes[i + 1]));
    if (c == 0) all = false;
    AppendUtf8(out, c != 0 ? c : kReplacement);
    i += 2;
  }
  if (complete != nullptr) *complete = all;
  return out;
}

std::optional<std::string> Utf8ToShiftJis(std::string_view text) {
  const ReverseMap& map = Reverse();
  std::string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    std::optional<char32_t> c = NextUtf8(text, pos);
    if (!c || *c > 0xFFFF) return std::nullopt;
    if (*c == 0) {
      out += '\0';
      continue;
    }
    std::uint16_t code = map[*c];
    if (code == 0) return std::nullopt;
    if (code > 0xFF) out += static_cast<char>(code >> 8);
    out += static_cast<char>(code & 0xFF);
  }
  return out;
}

}  // namespace orvel
