// The settings file's text in the encoding it was saved in: Shift-JIS, as
// it always has been; UTF-8 with a byte-order mark, once a setting needed a
// character Shift-JIS lacks; or UTF-8 without a mark, as editors on Linux
// save it. Sections, keys and values go in and come out as UTF-8.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

enum class IniEncoding { ShiftJis, Utf8, Utf8WithMark };

// UTF-8 when the file starts with the mark, or when it is valid UTF-8
// throughout and holds more than ASCII (the Japanese key names in
// Shift-JIS are never valid UTF-8); Shift-JIS otherwise.
IniEncoding DetectIniEncoding(std::string_view file);

// The values stored under `keys` in the section, in their order; "" for a
// missing section or key. A value is cut to what a 256-byte read buffer of
// the Shift-JIS file held: at most 255 bytes, counted as the value's
// Shift-JIS bytes in either encoding so that it is cut at the same
// character, never inside one, and up to a NUL.
std::vector<std::string> ReadIniValues(std::string_view file, std::string_view section,
                                       std::span<const std::string_view> keys);

// Whether the value reads back whole: it takes at most 255 bytes in
// Shift-JIS.
bool FitsIniValue(std::string_view value);

// The file with the key set to the value, in the file's own encoding. A
// Shift-JIS file that cannot hold the section, key or value moves to UTF-8
// with a mark; nullopt when its present text would not convert whole.
std::optional<std::string> WriteIniValue(std::string_view file, std::string_view section,
                                         std::string_view key, std::string_view value);

}  // namespace orvel
