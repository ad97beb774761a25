#include "settings/numbers.h"

#include <gtest/gtest.h>

#include <limits>

namespace orvel {
namespace {

TEST(Numbers, AcceptsDecimalTextWithBlanksSignFractionAndExponent) {
  EXPECT_EQ(ParseNumber("10"), 10.0);
  EXPECT_EQ(ParseNumber("  -1.5e2 "), -150.0);
  EXPECT_EQ(ParseNumber("\t+3\t"), 3.0);
  EXPECT_EQ(ParseNumber(".5"), 0.5);
  EXPECT_EQ(ParseNumber("5."), 5.0);
  EXPECT_EQ(ParseNumber("-.25"), -0.25);
  EXPECT_EQ(ParseNumber("1E3"), 1000.0);
  EXPECT_EQ(ParseNumber("25e-1"), 2.5);
  EXPECT_EQ(ParseNumber("5.e+1"), 50.0);
  EXPECT_EQ(ParseNumber("007"), 7.0);
}

TEST(Numbers, RefusesTextThatIsNotOneNumber) {
  for (std::string_view text : {"",    " ",   ".",   "+",     "-",    "+.",           "1e",   "1e+",
                                "e5",  ".e5", "1 2", "1.2.3", "--1",  "+-1",          "0x10", "1,5",
                                "inf", "nan", "abc", "12abc", "1e5x", "\xEF\xBC\x91", "1\n"}) {
    EXPECT_FALSE(ParseNumber(text).has_value()) << '"' << text << '"';
    EXPECT_FALSE(ParseInt16(text, Rounding::Down).has_value()) << '"' << text << '"';
    EXPECT_FALSE(ParseInt32Strict(text).has_value()) << '"' << text << '"';
  }
}

TEST(Numbers, RoundsDownTowardMinusInfinity) {
  EXPECT_EQ(ParseInt16("1.9", Rounding::Down), 1);
  EXPECT_EQ(ParseInt16("-0.5", Rounding::Down), -1);
  EXPECT_EQ(ParseInt16("-2", Rounding::Down), -2);
  EXPECT_EQ(ParseInt16("32767.9", Rounding::Down), 32767);
  EXPECT_EQ(ParseInt16("-32768", Rounding::Down), -32768);
  // The range is checked after rounding.
  EXPECT_EQ(ParseInt16("-32767.5", Rounding::Down), -32768);
  EXPECT_FALSE(ParseInt16("-32768.5", Rounding::Down).has_value());
  EXPECT_FALSE(ParseInt16("32768", Rounding::Down).has_value());
}

TEST(Numbers, RoundsTiesToEven) {
  EXPECT_EQ(ParseInt16("2.5", Rounding::HalfEven), 2);
  EXPECT_EQ(ParseInt16("3.5", Rounding::HalfEven), 4);
  EXPECT_EQ(ParseInt16("0.5", Rounding::HalfEven), 0);
  EXPECT_EQ(ParseInt16("-2.5", Rounding::HalfEven), -2);
  EXPECT_EQ(ParseInt16("-3.5", Rounding::HalfEven), -4);
  EXPECT_EQ(ParseInt16("2.4999", Rounding::HalfEven), 2);
  EXPECT_EQ(ParseInt16("2.5001", Rounding::HalfEven), 3);
  EXPECT_EQ(ParseInt16("-32768.5", Rounding::HalfEven), -32768);
  EXPECT_FALSE(ParseInt16("32767.5", Rounding::HalfEven).has_value());
  EXPECT_FALSE(ParseInt16("40000", Rounding::HalfEven).has_value());

  EXPECT_EQ(ParseInt32Strict("2147483647"), 2147483647);
  EXPECT_EQ(ParseInt32Strict("-2147483648.5"), std::numeric_limits<std::int32_t>::min());
  EXPECT_EQ(ParseInt32Strict(" 12.5 "), 12);
  EXPECT_FALSE(ParseInt32Strict("2147483647.5").has_value());
  EXPECT_FALSE(ParseInt32Strict("2147483648").has_value());
}

TEST(Numbers, HugeAndTinyExponentsStayInRangeRules) {
  EXPECT_FALSE(ParseInt16("1e400", Rounding::Down).has_value());
  EXPECT_FALSE(ParseInt16("-1e400", Rounding::HalfEven).has_value());
  EXPECT_FALSE(ParseInt16("1e99999999999999999999", Rounding::Down).has_value());
  EXPECT_FALSE(ParseInt32Strict("0.000000000000000000001e999").has_value());
  EXPECT_EQ(ParseInt16("1e-400", Rounding::Down), 0);
  // A tiny negative number is still below zero.
  EXPECT_EQ(ParseInt16("-1e-400", Rounding::Down), -1);
  EXPECT_EQ(ParseInt16("-1e-400", Rounding::HalfEven), 0);
  EXPECT_EQ(ParseInt16("0e99999999", Rounding::Down), 0);
  EXPECT_EQ(ParseInt16("1000000000000000000000e-20", Rounding::Down), 10);
  EXPECT_EQ(ParseInt16(std::string(500, '0') + "12", Rounding::Down), 12);
}

TEST(Numbers, LenientReadingTakesTheNumberAtTheStart) {
  EXPECT_EQ(ParseInt32Lenient("1234abc"), 1234);
  EXPECT_EQ(ParseInt32Lenient("12.6x"), 13);
  EXPECT_EQ(ParseInt32Lenient("abc"), 0);
  EXPECT_EQ(ParseInt32Lenient(""), 0);
  EXPECT_EQ(ParseInt32Lenient("  -7 apples"), -7);
  EXPECT_EQ(ParseInt32Lenient("\t42"), 42);
  EXPECT_EQ(ParseInt32Lenient("2.5"), 2);
  EXPECT_EQ(ParseInt32Lenient("3.5"), 4);
  EXPECT_EQ(ParseInt32Lenient("1e3x"), 1000);
  EXPECT_EQ(ParseInt32Lenient("7e"), 7);
  EXPECT_EQ(ParseInt32Lenient("7e+"), 7);
  EXPECT_EQ(ParseInt32Lenient("5."), 5);
  EXPECT_EQ(ParseInt32Lenient(".5"), 0);
  EXPECT_EQ(ParseInt32Lenient("+"), 0);
  EXPECT_EQ(ParseInt32Lenient("."), 0);
  EXPECT_EQ(ParseInt32Lenient("x12"), 0);
  EXPECT_EQ(ParseInt32Lenient("99999999999"), 0);
  EXPECT_EQ(ParseInt32Lenient("1e999 "), 0);
}

TEST(Numbers, FormattedNumbersReadBack) {
  EXPECT_EQ(FormatNumber(10), "10");
  EXPECT_EQ(FormatNumber(0), "0");
  EXPECT_EQ(FormatNumber(-1), "-1");
  EXPECT_EQ(FormatNumber(std::numeric_limits<std::int32_t>::min()), "-2147483648");
  for (int value = -32768; value <= 32767; ++value) {
    ASSERT_EQ(ParseInt16(FormatNumber(value), Rounding::Down), value);
  }
}

}  // namespace
}  // namespace orvel
