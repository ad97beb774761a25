#include "json_writer.h"

#include <cstdio>

namespace orvel {
namespace {

// The length of the valid UTF-8 sequence at the start of `text`, or 0.
std::size_t Utf8Length(std::string_view text) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = lead < 0x80           ? 1
                       : (lead >> 5) == 0x6  ? 2
                       : (lead >> 4) == 0xE  ? 3
                       : (lead >> 3) == 0x1E ? 4
                                             : 0;
  if (length == 0 || length > text.size()) return 0;
  unsigned codePoint = length == 1 ? lead : lead & (0x7F >> length);
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = codePoint << 6 | (byte(i) & 0x3F);
  }
  static constexpr unsigned kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
  if (codePoint < kSmallest[length] || codePoint > 0x10FFFF) return 0;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
  return length;
}

}  // namespace

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  while (!text.empty()) {
    std::size_t length = Utf8Length(text);
    if (length == 0) {
      out += "\uFFFD";
      text.remove_prefix(1);
      continue;
    }
    char c = text[0];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out + "\"";
}

JsonObject& JsonObject::Member(std::string_view name, std::string_view rawJson) {
  if (text_.size() > 1) text_ += ", ";
  text_ += JsonString(name);
  text_ += ": ";
  text_ += rawJson;
  return *this;
}

JsonObject& JsonObject::Member(std::string_view name, long long number) {
  return Member(name, std::to_string(number));
}

JsonObject& JsonObject::String(std::string_view name, std::string_view text) {
  return Member(name, JsonString(text));
}

}  // namespace orvel
