#include "settings/shift_jis.h"

#include <gtest/gtest.h>

#include "settings/settings_store.h"

namespace orvel {
namespace {

TEST(ShiftJis, KeyNamesEncodeToTheirFileBytesAndBack) {
  EXPECT_EQ(Utf8ToShiftJis(SettingsKey::PictureOrder), "\x89\xE6\x91\x9C\xC1\xAA\xDD\xBC\xDE");
  EXPECT_EQ(Utf8ToShiftJis(SettingsKey::ChangeInterval), "\xB2\xDD\xC0\xB0\xCA\xDE\xD9");
  EXPECT_EQ(Utf8ToShiftJis(SettingsKey::BgmKind), "BGM\x8B\xE6\x95\xAA");
  EXPECT_EQ(Utf8ToShiftJis(SettingsKey::PictureKinds[2]), "\x89\xE6\x91\x9C\x8E\xED\x97\xDE_2");

  std::vector<std::string_view> keys = {SettingsKey::PictureOrder,   SettingsKey::PictureSize,
                                        SettingsKey::ChangeInterval, SettingsKey::PictureFolder,
                                        SettingsKey::BgmKind,        SettingsKey::BgmRepeatTrack,
                                        SettingsKey::BgmFile};
  keys.insert(keys.end(), SettingsKey::PictureKinds.begin(), SettingsKey::PictureKinds.end());
  for (std::string_view key : keys) {
    std::optional<std::string> bytes = Utf8ToShiftJis(key);
    ASSERT_TRUE(bytes.has_value()) << key;
    bool complete = false;
    EXPECT_EQ(ShiftJisToUtf8(*bytes, &complete), key);
    EXPECT_TRUE(complete) << key;
  }
}

TEST(ShiftJis, HalfWidthKatakanaStaysOneByte) {
  // U+FF61..U+FF9F are the single bytes A1..DF.
  for (int byte = 0xA1; byte <= 0xDF; ++byte) {
    std::string single(1, static_cast<char>(byte));
    std::string utf8 = ShiftJisToUtf8(single);
    char32_t expected = 0xFF61 + (byte - 0xA1);
    std::string encoded = {static_cast<char>(0xE0 | (expected >> 12)),
                           static_cast<char>(0x80 | ((expected >> 6) & 0x3F)),
                           static_cast<char>(0x80 | (expected & 0x3F))};
    EXPECT_EQ(utf8, encoded) << byte;
    EXPECT_EQ(Utf8ToShiftJis(utf8), single) << byte;
  }
  EXPECT_EQ(Utf8ToShiftJis("ｲﾝﾀｰﾊﾞﾙ")->size(), 7u);
}

TEST(ShiftJis, EveryPairRoundTripsToItsPreferredEncoding) {
  int decoded = 0;
  for (int lead = 0x81; lead <= 0xFC; ++lead) {
    if (!IsShiftJisLeadByte(static_cast<unsigned char>(lead))) continue;
    for (int trail = 0x40; trail <= 0xFC; ++trail) {
      std::string pair = {static_cast<char>(lead), static_cast<char>(trail)};
      bool complete = false;
      std::string utf8 = ShiftJisToUtf8(pair, &complete);
      if (!complete) {
        // 7F never follows a lead byte: it stays a character of its own.
        EXPECT_EQ(utf8, trail == 0x7F ? "\xEF\xBF\xBD\x7F" : "\xEF\xBF\xBD");
        continue;
      }
      ++decoded;
      std::optional<std::string> back = Utf8ToShiftJis(utf8);
      ASSERT_TRUE(back.has_value()) << std::hex << lead << trail;
      EXPECT_EQ(ShiftJisToUtf8(*back), utf8);
      // Only the characters coded twice (NEC and IBM extensions) may come
      // back as another pair.
      bool duplicated = lead == 0x87 || lead == 0xED || lead == 0xEE || lead >= 0xFA;
      if (!duplicated) {
        EXPECT_EQ(*back, pair) << std::hex << lead << " " << trail;
      }
    }
  }
  EXPECT_GT(decoded, 7000);
  // Characters with two encodings go back to the preferred one.
  EXPECT_EQ(Utf8ToShiftJis(ShiftJisToUtf8("\xFA\x4A")), "\x87\x54");  // roman numeral one
  EXPECT_EQ(Utf8ToShiftJis(ShiftJisToUtf8("\xFA\x54")), "\x81\xCA");  // not sign
  EXPECT_EQ(Utf8ToShiftJis(ShiftJisToUtf8("\x87\x90")), "\x81\xE0");  // approximately equal
  // Windows writes the IBM extensions, never the NEC-selected copies of them.
  EXPECT_EQ(Utf8ToShiftJis("纊"), "\xFA\x5C");
  EXPECT_EQ(Utf8ToShiftJis("ⅰ"), "\xFA\x40");
  EXPECT_EQ(Utf8ToShiftJis(ShiftJisToUtf8("\xED\x40")), "\xFA\x5C");
}

TEST(ShiftJis, SingleBytesAndTheBytesOnTheEdges) {
  EXPECT_EQ(Utf8ToShiftJis("C:\\Pics~"), "C:\\Pics~");
  EXPECT_EQ(Utf8ToShiftJis(std::string_view("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(ShiftJisToUtf8(std::string_view("a\0b", 3)), std::string("a\0b", 3));
  EXPECT_EQ(ShiftJisToUtf8("\x95\x5C"), "表");  // second byte is a backslash
  EXPECT_FALSE(IsShiftJisLeadByte(0x80));
  EXPECT_TRUE(IsShiftJisLeadByte(0x81));
  EXPECT_TRUE(IsShiftJisLeadByte(0x9F));
  EXPECT_FALSE(IsShiftJisLeadByte(0xA0));
  EXPECT_FALSE(IsShiftJisLeadByte(0xDF));
  EXPECT_TRUE(IsShiftJisLeadByte(0xE0));
  EXPECT_TRUE(IsShiftJisLeadByte(0xFC));
  EXPECT_FALSE(IsShiftJisLeadByte(0xFD));
}

TEST(ShiftJis, BrokenBytesBecomeReplacementCharacters) {
  bool complete = true;
  // A lead byte at the end, and one before a line break: the break survives.
  EXPECT_EQ(ShiftJisToUtf8("ab\x89", &complete), "ab\xEF\xBF\xBD");
  EXPECT_FALSE(complete);
  EXPECT_EQ(ShiftJisToUtf8("\x89\nx", &complete), "\xEF\xBF\xBD\nx");
  EXPECT_FALSE(complete);
  // A well-formed but unassigned pair.
  EXPECT_EQ(ShiftJisToUtf8("\x85\x40z", &complete), "\xEF\xBF\xBDz");
  EXPECT_FALSE(complete);
  EXPECT_EQ(ShiftJisToUtf8("\x89\xE6\x91\x9C", &complete), "画像");
  EXPECT_TRUE(complete);
}

TEST(ShiftJis, TextThatCannotBeHeldIsRefused) {
  EXPECT_FALSE(Utf8ToShiftJis("Café").has_value());
  EXPECT_FALSE(Utf8ToShiftJis("photos \xF0\x9F\x98\x80").has_value());  // emoji, outside the BMP
  EXPECT_FALSE(Utf8ToShiftJis("\xE2\x82\xAC").has_value());             // euro sign
  // Malformed UTF-8: truncated, overlong, a surrogate, a stray byte.
  EXPECT_FALSE(Utf8ToShiftJis("\xE7\x94").has_value());
  EXPECT_FALSE(Utf8ToShiftJis("\xC0\xAF").has_value());
  EXPECT_FALSE(Utf8ToShiftJis("\xED\xA0\x80").has_value());
  EXPECT_FALSE(Utf8ToShiftJis("\x80").has_value());
  EXPECT_FALSE(Utf8ToShiftJis("a\xFF").has_value());
  EXPECT_EQ(Utf8ToShiftJis(""), "");
}

}  // namespace
}  // namespace orvel
