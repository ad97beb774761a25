#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "platform/linux/linux_platform.h"
#include "settings/image_catalogue.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

class LinuxFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "orvel-fs-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    root_ = pattern;
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(root_, ignored);
  }

  std::string Path(const std::string& name) const { return (root_ / name).string(); }
  void Write(const std::string& name) const { std::ofstream(root_ / name) << "x"; }

  std::vector<std::string> Sorted(std::optional<std::vector<std::string>> names) const {
    EXPECT_TRUE(names.has_value());
    if (!names) return {};
    std::sort(names->begin(), names->end());
    return *names;
  }

  bool MakeFifo(const std::string& name) const {
    return std::system(("mkfifo '" + Path(name) + "' 2>/dev/null").c_str()) == 0;
  }

  fs::path root_;
  LinuxFileSystem files_;
};

TEST_F(LinuxFileSystemTest, ListsVisibleRegularFilesWithoutRegardToCaseAndTellsAttributes) {
  for (const char* name : {"holiday.JPG", "beach.jpg", "Ab.Jpg", "notes.txt", ".hidden.jpg"}) {
    Write(name);
  }
  fs::create_directory(root_ / "album.jpg");
  fs::create_directory(root_ / "target");
  fs::create_directory_symlink(root_ / "target", root_ / "linked.jpg");
  fs::create_symlink(root_ / "beach.jpg", root_ / "alias.jpg");
  ASSERT_TRUE(MakeFifo("pipe.jpg"));

  EXPECT_EQ(Sorted(files_.ListFiles(Path("*.jpg"))),
            (std::vector<std::string>{"Ab.Jpg", "alias.jpg", "beach.jpg", "holiday.JPG"}));
  EXPECT_EQ(Sorted(files_.ListFiles(Path("?b.jpg"))), std::vector<std::string>{"Ab.Jpg"});
  // A doubled separator, as a root folder gives, lists the same folder.
  EXPECT_EQ(Sorted(files_.ListFiles(root_.string() + "//*.TXT")),
            std::vector<std::string>{"notes.txt"});
  EXPECT_FALSE(files_.ListFiles(Path("missing/*.jpg")).has_value());

  EXPECT_EQ(files_.Attributes(Path("beach.jpg")), FileAttribute::Normal);
  EXPECT_EQ(files_.Attributes(Path("album.jpg")), FileAttribute::Directory);
  EXPECT_NE(files_.Attributes(Path(".hidden.jpg")).value_or(0) & FileAttribute::Hidden, 0);
  EXPECT_NE(files_.Attributes(Path("pipe.jpg")), FileAttribute::Normal);
  EXPECT_FALSE(files_.Attributes(Path("missing.jpg")).has_value());
  // A FIFO would block a reader until some writer came along.
  EXPECT_FALSE(files_.CanOpenForRead(Path("pipe.jpg")));
  EXPECT_FALSE(files_.ReadFile(Path("pipe.jpg")).has_value());
}

TEST_F(LinuxFileSystemTest, FolderExistsForEmptyFoldersOnly) {
  fs::create_directory(root_ / "empty");
  Write("file.jpg");
  EXPECT_TRUE(FolderExists(Path("empty"), files_));
  EXPECT_TRUE(FolderExists(Path("empty") + "/", files_));
  EXPECT_FALSE(FolderExists(Path("missing"), files_));
  EXPECT_FALSE(FolderExists(Path("file.jpg"), files_));
}

TEST_F(LinuxFileSystemTest, ReplaceCreatesFoldersAndLeavesNoTemporaryFile) {
  const std::string path = Path("config/orvel/Orvel.ini");
  std::string binary(5000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7 % 251);
  ASSERT_TRUE(files_.ReplaceFile(path, "[Section]\r\n" + binary));
  EXPECT_EQ(files_.ReadFile(path), "[Section]\r\n" + binary);
  ASSERT_TRUE(files_.ReplaceFile(path, "new"));
  EXPECT_EQ(files_.ReadFile(path), "new");

  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(root_ / "config/orvel")) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"Orvel.ini"});

  // A settings file kept elsewhere through a link stays linked.
  fs::create_directories(root_ / "dotfiles");
  fs::create_symlink(root_ / "dotfiles/Orvel.ini", Path("linked.ini"));
  ASSERT_TRUE(files_.ReplaceFile(Path("linked.ini"), "through the link"));
  EXPECT_TRUE(fs::is_symlink(Path("linked.ini")));
  EXPECT_EQ(files_.ReadFile(Path("dotfiles/Orvel.ini")), "through the link");
}

}  // namespace
}  // namespace orvel
