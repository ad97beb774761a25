#include "settings/ini_codec.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(IniCodec, FindsTheFirstMatchAsWindowsComparesNamesAndUnquotesValues) {
  const std::string file =
      "top=0\r\n[ Section ]\r\n  Alpha =  one two  \r\nquoted=\"  x  \"\r\nmixed=\"x'\r\n"
      ";hidden=1\r\nnovalue\r\nalpha=second\r[SECTION]\nonly=3\n[b]\nk=2";
  EXPECT_EQ(FindIniValue(file, "section\t", " ALPHA ", true), "one two");
  EXPECT_EQ(FindIniValue(file, "Section", "quoted", true), "  x  ");
  EXPECT_EQ(FindIniValue(file, "b", "k", true), "2");
  // Only the first section of a name is searched.
  for (std::string_view key : {"top", "hidden", ";hidden", "novalue", "only"})
    EXPECT_FALSE(FindIniValue(file, "Section", key, true).has_value()) << key;
  for (std::string_view value : {"", " leading", "trailing\t", "\"quoted\"", "'single'", "a=b;c"})
    EXPECT_EQ(FindIniValue(SetIniValue("[S]\r\n", "S", "k", value, true), "S", "k", true), value);
  // 83 61 and 83 41 are two katakana that match when folded as ASCII; 83 5D ends in "]".
  const std::string sjis = "[\x83\x5D]\r\n\x83\x61=1\r\n";
  EXPECT_EQ(FindIniValue(sjis, "\x83\x5D", "\x83\x61", true), "1");
  EXPECT_FALSE(FindIniValue(sjis, "\x83\x5D", "\x83\x41", true).has_value());
  EXPECT_EQ(SetIniValue(sjis, "\x83\x5D", "\x83\x41", "2", true), sjis + "\x83\x41=2\r\n");
}

TEST(IniCodec, FindsManyKeysOfOneSectionAtOnce) {
  const std::string file = "[S]\nb=1\n[T]\na=0\n[s]\nA=2\nb=3\na=4\n[U]\nc=5\n";
  const std::vector<std::string_view> keys = {"a", "b", "c", "a"};
  EXPECT_EQ(
      FindIniValues(file, "S", keys, false),
      (std::vector<std::optional<std::string>>{std::nullopt, "1", std::nullopt, std::nullopt}));
  EXPECT_EQ(FindIniValues("[S]\r\nb=1\r\n a = \"2\" \r\nc=3", "S", keys, true),
            (std::vector<std::optional<std::string>>{"2", "1", "3", "2"}));
  EXPECT_EQ(FindIniValues(file, "V", keys, false),
            std::vector<std::optional<std::string>>(4, std::nullopt));
}

TEST(IniCodec, AWriteChangesOnlyItsOwnLineInTheFilesLineEnding) {
  const std::string before =
      "; c\r\n[Other]\nKey=o\r\n\r\n[Section]\r\n  KEY = old\n; note\r\n\r\n[Next]\r\nb=2";
  EXPECT_EQ(SetIniValue(before, "section", "key", "new", true),
            "; c\r\n[Other]\nKey=o\r\n\r\n[Section]\r\nkey=new\n; note\r\n\r\n[Next]\r\nb=2");
  // A new key goes after the section's last entry, before the blank lines.
  EXPECT_EQ(SetIniValue("[S]\r\na=1\r\n; note\r\n\r\n[N]\r\n", "S", "c", "3", true),
            "[S]\r\na=1\r\n; note\r\nc=3\r\n\r\n[N]\r\n");
  EXPECT_EQ(SetIniValue(before, "Next", "c", "3", true), before + "\r\nc=3");
  EXPECT_EQ(SetIniValue("[S]\rx=1\r", "S", "c", "3", true), "[S]\rx=1\rc=3\r");
  EXPECT_EQ(SetIniValue("[A]\nx=1", "S", "k", "v", true), "[A]\nx=1\n[S]\nk=v\n");
  EXPECT_EQ(SetIniValue("", "S", "k", "C:\\Pics", true), "[S]\r\nk=C:\\Pics\r\n");
}

}  // namespace
}  // namespace orvel
