// UTF-8, the program's own text: decoding one character, checking a whole
// text, appending a character, and counting characters.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvel {

// Decodes the character at `pos` and moves `pos` past it; nullopt (with
// `pos` unchanged) when the bytes there are not well-formed UTF-8: overlong
// forms, surrogates and truncated sequences included.
std::optional<char32_t> NextUtf8(std::string_view text, std::size_t& pos);

// Whether the whole text is well-formed UTF-8.
bool IsValidUtf8(std::string_view text);

void AppendUtf8(std::string& out, char32_t c);

// Whether the byte begins a character (is not a continuation byte).
constexpr bool StartsUtf8Character(char byte) {
  return (static_cast<unsigned char>(byte) & 0xC0) != 0x80;
}

// The first `count` characters of the text.
std::string_view FirstUtf8Chars(std::string_view text, std::size_t count);

}  // namespace orvel
