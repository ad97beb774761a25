#include "settings/shift_jis.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(ShiftJis, EveryPairRoundTripsAndDuplicatesGoToTheWindowsPreferredPair) {
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      const std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
      bool complete = false;
      const std::string utf8 = ShiftJisToUtf8(pair, &complete);
      if (!complete) continue;
      const std::optional<std::string> back = Utf8ToShiftJis(utf8);
      EXPECT_EQ(ShiftJisToUtf8(back.value_or("")), utf8) << std::hex << lead << " " << trail;
      // Only the characters coded twice (NEC and IBM extensions) may come back as another pair.
      if (lead != 0x87 && lead != 0xED && lead != 0xEE && lead < 0xFA) {
        EXPECT_EQ(back, pair);
      }
    }
  }
  EXPECT_EQ(Utf8ToShiftJis("纊"), "\xFA\x5C");
  EXPECT_EQ(Utf8ToShiftJis(ShiftJisToUtf8("\xED\x40")), "\xFA\x5C");
  EXPECT_EQ(Utf8ToShiftJis(ShiftJisToUtf8("\xFA\x4A")), "\x87\x54");  // roman numeral one
  EXPECT_EQ(ShiftJisToUtf8("C:\\\x95\x5C"), "C:\\表");                // second byte 5C
}

TEST(ShiftJis, BrokenBytesBecomeReplacementsAndUnholdableTextIsRefused) {
  bool complete = true;
  EXPECT_EQ(ShiftJisToUtf8("a\x89\n\x85\x40z\x89", &complete),  // 85 40 is unassigned
            "a\xEF\xBF\xBD\n\xEF\xBF\xBDz\xEF\xBF\xBD");
  EXPECT_FALSE(complete);
  // Outside Shift-JIS (é, emoji, euro), then truncated, overlong, surrogate and stray UTF-8.
  for (std::string_view text : {"Café", "\xF0\x9F\x98\x80", "\xE2\x82\xAC", "\xE7\x94", "\xC0\xAF",
                                "\xED\xA0\x80", "\x80", "a\xFF"})
    EXPECT_FALSE(Utf8ToShiftJis(text).has_value()) << text;
}

}  // namespace
}  // namespace orvel
