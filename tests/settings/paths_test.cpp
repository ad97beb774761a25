#include "settings/paths.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvel {
namespace {

TEST(Paths, SeparatorRulesInBothStyles) {
  // Only spaces are trimmed, and a backslash is an ordinary POSIX character.
  EXPECT_EQ(AddBackslash("C:\\Pics\\  ", PathStyle::Windows), "C:\\Pics\\");
  EXPECT_EQ(AddBackslash("C:\\Pics\t", PathStyle::Windows), "C:\\Pics\t\\");
  EXPECT_EQ(AddBackslash("/home/me\\ ", PathStyle::Posix), "/home/me\\/");

  EXPECT_EQ(FolderPart("C:\\Pics\\*.bmp", PathStyle::Windows), "C:\\Pics");
  EXPECT_EQ(FolderPart("C:\\*.bmp", PathStyle::Windows), "C:");
  EXPECT_EQ(FolderPart("C:\\\\*.bmp", PathStyle::Windows), "C:\\");
  EXPECT_EQ(FolderPart("*.bmp", PathStyle::Windows), "");
  EXPECT_EQ(FolderPart("/home/me/Pics//*.jpg", PathStyle::Posix), "/home/me/Pics/");
  EXPECT_EQ(FolderPart("/media/c:\\x/*.jpg", PathStyle::Posix), "/media/c:\\x");
}

TEST(Paths, WildcardsBacktrackAndFoldOnlyAsciiLetters) {
  const std::vector<std::string_view> namesAndPatterns = {
      // These ten match,
      "photo.bmp", "*.bmp", ".bmp", "*.bmp", "a.bmp.bmp", "*.bmp", "", "*", "ab.jpg", "a?.jpg",
      "axxbyybzzc", "a*b*c", "abcbc", "a*b*c", "HOLIDAY.JPG", "*.jpg", "Photo.Jpg", "p?OTO.*",
      "\xC3\xA9.JPG", "\xC3\xA9.jpg",
      // these do not.
      "photo.bmpx", "*.bmp", "a.jpg", "a?.jpg", "abcb", "a*b*c", "", "?", "a", "", "README", "*.*",
      "[.jpg", "{.jpg", "\xC3\x89.jpg", "\xC3\xA9.jpg", "aaaaaaaaaaaaaaaaaaaa", "*a*a*a*b"};
  std::string matched;
  for (std::size_t i = 0; i < namesAndPatterns.size(); i += 2) {
    matched += WildcardMatch(namesAndPatterns[i], namesAndPatterns[i + 1], true) ? '1' : '0';
  }
  EXPECT_EQ(matched, "1111111111000000000");
  EXPECT_FALSE(WildcardMatch("HOLIDAY.JPG", "*.jpg", false));
}

}  // namespace
}  // namespace orvel
