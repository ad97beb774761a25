// File stamps on a Linux disk: what tells a file rewritten since it was
// last looked at.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>

#include "platform/linux/linux_platform.h"
#include "temp_folder.h"

namespace orvel {
namespace {

using namespace std::chrono_literals;

TEST(FileStamp, OnLinuxSizeAndTimeOfWritingOfRegularFilesOnly) {
  const TempFolder folder;
  const std::filesystem::path& root = folder.path();
  const std::string path = (root / "a.jpg").string();
  LinuxFileSystem files;
  std::ofstream(path) << "abc";
  const std::optional<FileStamp> first = files.Stamp(path);
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size, 3u);
  EXPECT_EQ(files.Stamp(path), first);
  // The same bytes written again a moment later.
  std::ofstream(path) << "abc";
  std::filesystem::last_write_time(path, std::filesystem::last_write_time(path) + 10ms);
  EXPECT_NE(files.Stamp(path), first);
  EXPECT_FALSE(files.Stamp(root.string()));
  EXPECT_FALSE(files.Stamp((root / "missing.jpg").string()));
}

}  // namespace
}  // namespace orvel
