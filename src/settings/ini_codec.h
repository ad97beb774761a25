// The settings file's text, byte for byte: sections "[name]" and lines
// "key=value". Works on the raw bytes of the file; section and key names
// are compared as the Windows profile functions compare them (ASCII letters
// without regard to case, blanks around names and values ignored).
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

// The value stored under key in section, with surrounding blanks (and one
// pair of enclosing quotes) removed; nullopt when the section or the key is
// missing. `multiByte` tells whether the file's text is Shift-JIS, whose
// second bytes must not be case-folded.
// The values of several keys of one section, in the order of `keys`,
// found in one pass over the file.
std::vector<std::optional<std::string>> FindIniValues(std::string_view file,
                                                      std::string_view section,
                                                      std::span<const std::string_view> keys,
                                                      bool multiByte);

std::optional<std::string> FindIniValue(std::string_view file, std::string_view section,
                                        std::string_view key, bool multiByte);

// The file with key set to value in section: an existing key's line is
// replaced, a new key goes after the section's last entry, a new section at
// the end of the file. Every other byte stays as it was; new lines take the
// file's own line ending (CR LF for a new file).
std::string SetIniValue(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value, bool multiByte);

}  // namespace orvel
