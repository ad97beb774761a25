// Conversion between UTF-8 and Shift-JIS (code page 932, as Windows maps it).
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvel {

// Shift-JIS bytes as UTF-8. Bytes that do not form a character become
// U+FFFD; `complete` (when given) tells whether every byte converted.
std::string ShiftJisToUtf8(std::string_view bytes, bool* complete = nullptr);

// UTF-8 text as Shift-JIS bytes; nullopt when the text is not valid UTF-8 or
// holds a character that Shift-JIS cannot hold.
std::optional<std::string> Utf8ToShiftJis(std::string_view text);

// How many bytes the character takes in Shift-JIS (1 or 2); 0 when
// Shift-JIS cannot hold it.
int ShiftJisWidth(char32_t c);

// Whether the byte starts a two-byte Shift-JIS character.
bool IsShiftJisLeadByte(unsigned char byte);

}  // namespace orvel
