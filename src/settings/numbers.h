// Number text as the settings file, the dialog and the command line read
// and write it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace orvel {

enum class Rounding {
  Down,      // toward minus infinity
  HalfEven,  // to the nearest whole number, ties to the even one
};

// A whole text as a decimal number: blanks before and after, a sign, a
// fraction and an exponent are accepted ("  -1.5e2 "). nullopt when the text
// is not such a number.
std::optional<double> ParseNumber(std::string_view text);

// A whole text as a 16-bit number, rounded as asked; nullopt when it is not
// a number or the rounded value lies outside -32768..32767.
std::optional<std::int16_t> ParseInt16(std::string_view text, Rounding rounding);

// A whole text as a 32-bit number, rounded ties to even; nullopt when it is
// not a number or does not fit.
std::optional<std::int32_t> ParseInt32Strict(std::string_view text);

// The number at the start of a text: leading blanks are skipped and reading
// stops at the first character that cannot continue a number; 0 when there
// is no number or it does not fit 32 bits. Rounded ties to even.
std::int32_t ParseInt32Lenient(std::string_view text);

// Plain decimal text: "10", "0", "-1".
std::string FormatNumber(std::int32_t value);

}  // namespace orvel
