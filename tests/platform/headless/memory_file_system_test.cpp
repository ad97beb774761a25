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

TEST(MemoryFileSystem, EveryWriteShowsInTheStampEvenWithTheSameContents) {
  MemoryFileSystem files(PathStyle::Windows);
  files.AddFile("C:\\Pics\\a.jpg", "abc");
  const std::optional<FileStamp> first = files.Stamp("c:\\pics\\A.JPG");
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size, 3u);
  EXPECT_EQ(files.Stamp("C:\\Pics\\a.jpg"), first);
  files.AddFile("C:\\Pics\\b.jpg", "other");
  EXPECT_EQ(files.Stamp("C:\\Pics\\a.jpg"), first);
  ASSERT_TRUE(files.ReplaceFile("C:\\Pics\\a.jpg", "abc"));
  EXPECT_NE(files.Stamp("C:\\Pics\\a.jpg"), first);
  EXPECT_FALSE(files.Stamp("C:\\Pics"));
  EXPECT_FALSE(files.Stamp("C:\\Pics\\c.jpg"));
}

TEST(MemoryFileSystem, ARemovedFileIsGoneFromItsFolderAndCanComeBack) {
  MemoryFileSystem fs(PathStyle::Windows);
  fs.AddFile("C:\\Pics\\a.jpg", "abc");
  fs.AddFile("C:\\Pics\\b.jpg", "de");
  fs.RemoveFile("c:\\pics\\A.JPG");
  EXPECT_FALSE(fs.Contents("C:\\Pics\\a.jpg"));
  EXPECT_FALSE(fs.Stamp("C:\\Pics\\a.jpg"));
  EXPECT_FALSE(fs.CanOpenForRead("C:\\Pics\\a.jpg"));
  EXPECT_EQ(*fs.ListFiles("C:\\Pics\\*.jpg"), std::vector<std::string>{"b.jpg"});
  // A folder stays, with what is in it.
  fs.RemoveFile("C:\\Pics");
  EXPECT_EQ(fs.Attributes("C:\\Pics"), FileAttribute::Directory);
  EXPECT_EQ(fs.Contents("C:\\Pics\\b.jpg"), "de");
  fs.AddFile("C:\\Pics\\a.jpg", "new");
  EXPECT_EQ(*fs.ListFiles("C:\\Pics\\*.jpg"), (std::vector<std::string>{"b.jpg", "a.jpg"}));
}

}  // namespace
}  // namespace orvel
