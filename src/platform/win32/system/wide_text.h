// Text at the Win32 boundary: the program's UTF-8 into the UTF-16 of the
// W calls, and back.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace orvel {

// The text in UTF-16; nullopt when it is not well-formed UTF-8 or holds a
// NUL, either of which would make a call name something other than meant.
std::optional<std::wstring> WideFromUtf8(std::string_view text);

// The text in UTF-8. A lone surrogate, which UTF-8 cannot carry, becomes
// U+FFFD.
std::string Utf8FromWide(std::wstring_view text);

}  // namespace orvel
