#include "settings/paths.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(Paths, AddBackslashTrimsBlanksAndAppendsOneSeparator) {
  const PathStyle win = PathStyle::Windows;
  EXPECT_EQ(AddBackslash("C:\\Pics", win), "C:\\Pics\\");
  EXPECT_EQ(AddBackslash("C:\\Pics\\", win), "C:\\Pics\\");
  EXPECT_EQ(AddBackslash("C:\\Pics   ", win), "C:\\Pics\\");
  EXPECT_EQ(AddBackslash("C:\\Pics\\  ", win), "C:\\Pics\\");
  EXPECT_EQ(AddBackslash("C:\\", win), "C:\\");
  EXPECT_EQ(AddBackslash("C:", win), "C:\\");
  EXPECT_EQ(AddBackslash("   ", win), "\\");
  EXPECT_EQ(AddBackslash("", win), "\\");
  // Only spaces are blanks here.
  EXPECT_EQ(AddBackslash("C:\\Pics\t", win), "C:\\Pics\t\\");
  EXPECT_EQ(AddBackslash(" C:\\Pics", win), " C:\\Pics\\");

  const PathStyle posix = PathStyle::Posix;
  EXPECT_EQ(AddBackslash("/home/me", posix), "/home/me/");
  EXPECT_EQ(AddBackslash("/home/me/ ", posix), "/home/me/");
  EXPECT_EQ(AddBackslash("/", posix), "/");
  // A backslash is an ordinary character in a POSIX name.
  EXPECT_EQ(AddBackslash("/home/me\\", posix), "/home/me\\/");
  EXPECT_EQ(Separator(win), '\\');
  EXPECT_EQ(Separator(posix), '/');
}

TEST(Paths, FolderPartStopsAtTheLastSeparatorAndDropsOneOfIt) {
  const PathStyle win = PathStyle::Windows;
  EXPECT_EQ(FolderPart("C:\\Pics\\*.bmp", win), "C:\\Pics");
  EXPECT_EQ(FolderPart("C:\\*.bmp", win), "C:");
  EXPECT_EQ(FolderPart("C:\\\\*.bmp", win), "C:\\");
  EXPECT_EQ(FolderPart("C:*.bmp", win), "C:");
  EXPECT_EQ(FolderPart("*.bmp", win), "");
  EXPECT_EQ(FolderPart("", win), "");
  EXPECT_EQ(FolderPart("C:\\My Pics\\Trip.2001\\a.jpg", win), "C:\\My Pics\\Trip.2001");
  EXPECT_EQ(FolderPart("\\\\server\\share\\*.gif", win), "\\\\server\\share");

  const PathStyle posix = PathStyle::Posix;
  EXPECT_EQ(FolderPart("/home/me/Pics/*.jpg", posix), "/home/me/Pics");
  EXPECT_EQ(FolderPart("/home/me/Pics//*.jpg", posix), "/home/me/Pics/");
  EXPECT_EQ(FolderPart("/*.jpg", posix), "");
  EXPECT_EQ(FolderPart("//*.jpg", posix), "/");
  EXPECT_EQ(FolderPart("*.jpg", posix), "");
  EXPECT_EQ(FolderPart("/media/c:\\x/*.jpg", posix), "/media/c:\\x");
}

TEST(Paths, NamePartIsWhatFollowsTheFolder) {
  EXPECT_EQ(NamePart("C:\\Pics\\a.bmp", PathStyle::Windows), "a.bmp");
  EXPECT_EQ(NamePart("C:a.bmp", PathStyle::Windows), "a.bmp");
  EXPECT_EQ(NamePart("C:\\Pics\\", PathStyle::Windows), "");
  EXPECT_EQ(NamePart("a.bmp", PathStyle::Windows), "a.bmp");
  EXPECT_EQ(NamePart("/home/me/a:b\\c.jpg", PathStyle::Posix), "a:b\\c.jpg");
  EXPECT_EQ(NamePart("/a.jpg", PathStyle::Posix), "a.jpg");
}

TEST(Paths, WildcardStarAndQuestionMark) {
  EXPECT_TRUE(WildcardMatch("photo.bmp", "*.bmp", false));
  EXPECT_TRUE(WildcardMatch(".bmp", "*.bmp", false));
  EXPECT_FALSE(WildcardMatch("photo.bmpx", "*.bmp", false));
  EXPECT_FALSE(WildcardMatch("photo.bm", "*.bmp", false));
  EXPECT_TRUE(WildcardMatch("a.bmp.bmp", "*.bmp", false));
  EXPECT_TRUE(WildcardMatch("anything", "*", false));
  EXPECT_TRUE(WildcardMatch("", "*", false));
  EXPECT_TRUE(WildcardMatch("", "", false));
  EXPECT_FALSE(WildcardMatch("a", "", false));
  EXPECT_FALSE(WildcardMatch("", "?", false));
  EXPECT_TRUE(WildcardMatch("ab.jpg", "a?.jpg", false));
  EXPECT_FALSE(WildcardMatch("a.jpg", "a?.jpg", false));
  EXPECT_FALSE(WildcardMatch("abc.jpg", "a?.jpg", false));
  EXPECT_TRUE(WildcardMatch("x", "**?**", false));
  EXPECT_TRUE(WildcardMatch(".", "*.*", false));
  EXPECT_FALSE(WildcardMatch("README", "*.*", false));
}

TEST(Paths, WildcardBacktracksOverEarlierStars) {
  EXPECT_TRUE(WildcardMatch("abc", "a*b*c", false));
  EXPECT_TRUE(WildcardMatch("axxbyybzzc", "a*b*c", false));
  EXPECT_TRUE(WildcardMatch("abcbc", "a*b*c", false));
  EXPECT_TRUE(WildcardMatch("acbc", "a*bc", false));
  EXPECT_FALSE(WildcardMatch("abcb", "a*b*c", false));
  EXPECT_FALSE(WildcardMatch("acb", "a*b*c", false));
  EXPECT_TRUE(WildcardMatch("mississippi", "m*iss*ppi", false));
  EXPECT_TRUE(WildcardMatch("mississippi", "*s?i*i", false));
  EXPECT_FALSE(WildcardMatch("mississippi", "m*iss*ppx", false));
  EXPECT_TRUE(WildcardMatch("aaaaaaaaaaaaaaaaaaab", "*a*a*a*b", false));
  EXPECT_FALSE(WildcardMatch("aaaaaaaaaaaaaaaaaaaa", "*a*a*a*b", false));
}

TEST(Paths, WildcardLetterCaseOnRequest) {
  EXPECT_TRUE(WildcardMatch("HOLIDAY.JPG", "*.jpg", true));
  EXPECT_TRUE(WildcardMatch("holiday.jpg", "*.JPG", true));
  EXPECT_FALSE(WildcardMatch("HOLIDAY.JPG", "*.jpg", false));
  EXPECT_TRUE(WildcardMatch("Photo.Jpg", "p?OTO.*", true));
  EXPECT_FALSE(WildcardMatch("Photo.Jpg", "p?OTO.*", false));
  // Only ASCII letters fold; neighbouring characters and bytes above 127
  // stay themselves.
  EXPECT_FALSE(WildcardMatch("[.jpg", "{.jpg", true));
  EXPECT_FALSE(WildcardMatch("@.jpg", "`.jpg", true));
  EXPECT_FALSE(WildcardMatch("\xC3\x89.jpg", "\xC3\xA9.jpg", true));
  EXPECT_TRUE(WildcardMatch("\xC3\xA9.JPG", "\xC3\xA9.jpg", true));
}

}  // namespace
}  // namespace orvel
