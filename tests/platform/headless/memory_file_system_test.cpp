#include "platform/headless/memory_file_system.h"

#include <gtest/gtest.h>

namespace orvel {
namespace {

TEST(MemoryFileSystem, ListsVisibleFilesInOrderAddedAndMatchesWithoutCase) {
  MemoryFileSystem fs(PathStyle::Windows);
  fs.AddFile("C:\\Pics\\b.BMP");
  fs.AddFile("C:\\Pics\\hidden.bmp", "", FileAttribute::Hidden);
  fs.AddFolder("C:\\Pics\\sub.bmp");
  fs.AddFile("C:\\Pics\\a.bmp", "", FileAttribute::ReadOnly | FileAttribute::Archive);
  fs.AddFile("C:\\Pics\\c.gif");
  auto names = fs.ListFiles("C:\\PICS\\\\*.bmp");
  ASSERT_TRUE(names.has_value());
  EXPECT_EQ(*names, (std::vector<std::string>{"b.BMP", "a.bmp"}));
  EXPECT_FALSE(fs.ListFiles("C:\\Missing\\*.bmp").has_value());
}

TEST(MemoryFileSystem, DotEntriesMakeEveryFolderButADriveRootNonEmpty) {
  MemoryFileSystem fs(PathStyle::Windows);
  fs.AddFolder("C:\\Empty");
  fs.AddFolder("D:\\");
  EXPECT_TRUE(fs.HasEntry("C:\\Empty\\*.*"));
  EXPECT_FALSE(fs.HasEntry("D:\\*.*"));
  EXPECT_FALSE(fs.HasEntry("C:\\Nowhere\\*.*"));

  MemoryFileSystem posix(PathStyle::Posix);
  posix.AddFile("/home/me/.hidden.jpg");
  posix.AddFile("/home/me/seen.JPG");
  EXPECT_EQ(*posix.ListFiles("/home/me/*.jpg"), std::vector<std::string>{"seen.JPG"});
  EXPECT_TRUE(posix.HasEntry("/*.*"));
}

TEST(MemoryFileSystem, ReadsUpToTheLimitAndNeverReplacesAReadOnlyFile) {
  MemoryFileSystem fs(PathStyle::Posix);
  fs.AddFile("/etc/Orvel.ini", "0123456789", FileAttribute::ReadOnly);
  EXPECT_EQ(fs.ReadFile("/etc/Orvel.ini", 10), "0123456789");
  EXPECT_FALSE(fs.ReadFile("/etc/Orvel.ini", 9).has_value());
  EXPECT_FALSE(fs.ReplaceFile("/etc/Orvel.ini", "new"));
  EXPECT_EQ(fs.Contents("/etc/Orvel.ini"), "0123456789");
  fs.AddFile("/etc/Orvel.ini", "0123456789");
  EXPECT_TRUE(fs.ReplaceFile("/etc/Orvel.ini", "new"));
  EXPECT_EQ(fs.Contents("/etc/Orvel.ini"), "new");
}

}  // namespace
}  // namespace orvel
