#include "settings/numbers.h"

#include <gtest/gtest.h>

#include <limits>
#include <vector>

namespace orvel {
namespace {

// The texts' values, "-" for each one refused.
std::string Values(const std::vector<std::string_view>& texts, Rounding rounding) {
  std::string values;
  for (std::string_view text : texts) {
    std::optional<std::int16_t> value = ParseInt16(text, rounding);
    values += (value ? std::to_string(*value) : "-") + " ";
  }
  return values;
}

TEST(Numbers, TextIsReadWholeAndRoundedDownOrTiesToEvenWithin16Bits) {
  const std::vector<std::string_view> texts = {
      "  -1.5e2 ", "\t+3\t",  ".5",      "5.e+1",    "007",          "3.5",   "2.5", "-2.5",
      "-0.5",      "-1e-400", "32767.5", "-32768.5", "32768",        "1e400", "",    " ",
      ".",         "+",       "1e",      "e5",       "1 2",          "1.2.3", "--1", "0x10",
      "1,5",       "inf",     "nan",     "12abc",    "\xEF\xBC\x91", "1\n"};
  // The 16-bit range is checked after rounding; from "32768" on, the texts are refused.
  EXPECT_EQ(Values(texts, Rounding::Down),
            "-150 3 0 50 7 3 2 -3 -1 -1 32767 - - - - - - - - - - - - - - - - - - - ");
  EXPECT_EQ(Values(texts, Rounding::HalfEven),
            "-150 3 0 50 7 4 2 -2 0 0 - -32768 - - - - - - - - - - - - - - - - - - ");
  EXPECT_EQ(ParseInt32Strict("-2147483648.5"), std::numeric_limits<std::int32_t>::min());
  EXPECT_FALSE(ParseInt32Strict("2147483647.5").has_value());
  EXPECT_FALSE(ParseInt32Strict("12abc").has_value());
  // Leniently, the number at the start counts.
  EXPECT_EQ(ParseInt32Lenient("  -12.6x"), -13);
  EXPECT_EQ(ParseInt32Lenient("2.5e"), 2);
  EXPECT_EQ(ParseInt32Lenient("abc"), 0);
  EXPECT_EQ(ParseInt32Lenient("99999999999"), 0);
}

}  // namespace
}  // namespace orvel
