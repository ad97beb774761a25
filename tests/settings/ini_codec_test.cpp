#include "settings/ini_codec.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

std::optional<std::string> Find(std::string_view file, std::string_view section,
                                std::string_view key) {
  return FindIniValue(file, section, key, true);
}

TEST(IniCodec, ReadsNamesWithoutCaseAndValuesWithoutBlanksOrQuotes) {
  const std::string file =
      "top=before any section\r\n"
      "[ Section ]\r\n"
      "  Alpha =  one two  \r\n"
      "quoted=\"  padded  \"\r\n"
      "single='x'\r\n"
      "mixed=\"x'\r\n"
      "lonely=\"\r\n"
      ";hidden=no\r\n"
      "novalue\r\n"
      "empty=\r\n"
      "alpha=second\r\n";
  EXPECT_EQ(Find(file, "section", "ALPHA"), "one two");
  EXPECT_EQ(Find(file, " Section\t", " alpha "), "one two");
  EXPECT_EQ(Find(file, "Section", "quoted"), "  padded  ");
  EXPECT_EQ(Find(file, "Section", "single"), "x");
  EXPECT_EQ(Find(file, "Section", "mixed"), "\"x'");
  EXPECT_EQ(Find(file, "Section", "lonely"), "\"");
  EXPECT_EQ(Find(file, "Section", "empty"), "");
  EXPECT_FALSE(Find(file, "Section", ";hidden").has_value());
  EXPECT_FALSE(Find(file, "Section", "hidden").has_value());
  EXPECT_FALSE(Find(file, "Section", "novalue").has_value());
  EXPECT_FALSE(Find(file, "Section", "top").has_value());
  EXPECT_FALSE(Find(file, "Other", "alpha").has_value());
  EXPECT_FALSE(Find("", "Section", "alpha").has_value());
}

TEST(IniCodec, FirstSectionAndFirstKeyWinAcrossAllLineEndings) {
  const std::string file = "[a]\rk=1\r[b]\nk=2\nk=3\r\n[A]\r\nk=4\r\nonly=5";
  EXPECT_EQ(Find(file, "a", "k"), "1");
  EXPECT_EQ(Find(file, "b", "k"), "2");
  // Only the first section of a name is searched.
  EXPECT_FALSE(Find(file, "A", "only").has_value());
  EXPECT_EQ(Find("[s]\nlast=no newline", "s", "last"), "no newline");
}

TEST(IniCodec, ShiftJisSecondBytesAreNeitherFoldedNorTakenForBrackets) {
  // 83 61 and 83 41 are two different katakana; folded as ASCII they match.
  const std::string file = "[S]\r\n\x83\x61=1\r\n";
  EXPECT_FALSE(FindIniValue(file, "S", "\x83\x41", true).has_value());
  EXPECT_EQ(FindIniValue(file, "S", "\x83\x61", true), "1");
  EXPECT_EQ(FindIniValue(file, "S", "\x83\x41", false), "1");
  // A section named by a katakana whose second byte is "]".
  const std::string bracket = "[\x83\x5D]\r\nk=2\r\n";
  EXPECT_EQ(FindIniValue(bracket, "\x83\x5D", "k", true), "2");
  EXPECT_FALSE(FindIniValue(bracket, "\x83", "k", true).has_value());
}

TEST(IniCodec, ReplacingAValueLeavesEveryOtherByteAlone) {
  const std::string before =
      "; settings\r\n"
      "[Other]\n"
      "Key=other\r\n"
      "\r\n"
      "[Section]\r\n"
      "unknown = kept \r\n"
      "  KEY = old value\n"
      "after=1";
  const std::string after =
      "; settings\r\n"
      "[Other]\n"
      "Key=other\r\n"
      "\r\n"
      "[Section]\r\n"
      "unknown = kept \r\n"
      "key=new\n"
      "after=1";
  EXPECT_EQ(SetIniValue(before, "section", "key", "new", true), after);
  EXPECT_EQ(SetIniValue(before, "Section", "after", "2", true),
            before.substr(0, before.size() - 7) + "after=2");
}

TEST(IniCodec, NewKeysGoAfterTheSectionsLastEntry) {
  const std::string file = "[Section]\r\na=1\r\n; note\r\n\r\n  \r\n[Next]\r\nb=2\r\n";
  EXPECT_EQ(SetIniValue(file, "Section", "c", "3", true),
            "[Section]\r\na=1\r\n; note\r\nc=3\r\n\r\n  \r\n[Next]\r\nb=2\r\n");
  EXPECT_EQ(SetIniValue("[Empty]\n[Next]\n", "empty", "c", "3", true), "[Empty]\nc=3\n[Next]\n");
  // The section's last line is the file's and has no line break yet.
  EXPECT_EQ(SetIniValue("[S]\nx=1", "S", "c", "3", true), "[S]\nx=1\nc=3");
  EXPECT_EQ(SetIniValue("[S]\rx=1\r", "S", "c", "3", true), "[S]\rx=1\rc=3\r");
}

TEST(IniCodec, NewSectionsGoAtTheEndInTheFilesLineEnding) {
  EXPECT_EQ(SetIniValue("", "Section", "k", "v", true), "[Section]\r\nk=v\r\n");
  EXPECT_EQ(SetIniValue("[A]\nx=1\n", "Section", "k", "v", true), "[A]\nx=1\n[Section]\nk=v\n");
  EXPECT_EQ(SetIniValue("[A]\nx=1", "Section", "k", "v", true), "[A]\nx=1\n[Section]\nk=v\n");
  EXPECT_EQ(SetIniValue("; only a comment", "Section", "k", "v", true),
            "; only a comment\r\n[Section]\r\nk=v\r\n");
}

TEST(IniCodec, ValuesReadBackExactlyAsWritten) {
  for (std::string_view value : {"plain", "", " leading", "trailing\t", "\"quoted\"", "'single'",
                                 "\"half", "a=b;c", "[x]"}) {
    std::string file = SetIniValue("[S]\r\n", "S", "k", value, true);
    EXPECT_EQ(FindIniValue(file, "S", "k", true), value) << file;
  }
  EXPECT_EQ(SetIniValue("", "S", "k", "C:\\Pics", true), "[S]\r\nk=C:\\Pics\r\n");
}

TEST(IniCodec, KeysDifferingOnlyInASecondByteStaySeparate) {
  const std::string file = "[S]\r\n\x83\x61=1\r\n";
  EXPECT_EQ(SetIniValue(file, "S", "\x83\x41", "2", true), file + "\x83\x41=2\r\n");
  EXPECT_EQ(SetIniValue(file, "s", "\x83\x61", "2", true), "[S]\r\n\x83\x61=2\r\n");
}

}  // namespace
}  // namespace orvel
