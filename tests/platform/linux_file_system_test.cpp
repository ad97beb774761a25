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

// A fresh folder under the system's temporary folder, removed with all it
// holds at the end of the test.
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

  void Write(const std::string& name, const std::string& contents = "x") const {
    std::ofstream(root_ / name, std::ios::binary) << contents;
  }

  std::vector<std::string> Sorted(std::optional<std::vector<std::string>> names) const {
    EXPECT_TRUE(names.has_value());
    if (!names) return {};
    std::sort(names->begin(), names->end());
    return *names;
  }

  bool MakeFifo(const std::string& name) const {
    std::string command = "mkfifo '" + Path(name) + "' 2>/dev/null";
    return std::system(command.c_str()) == 0 && fs::is_fifo(root_ / name);
  }

  fs::path root_;
  LinuxFileSystem files_;
};

TEST_F(LinuxFileSystemTest, ListsVisibleRegularFilesWithoutRegardToCase) {
  Write("holiday.JPG");
  Write("beach.jpg");
  Write("Ab.Jpg");
  Write("notes.txt");
  Write("photo.jpg.txt");
  Write(".hidden.jpg");
  fs::create_directory(root_ / "album.jpg");
  fs::create_directory(root_ / ".thumbs.jpg");
  fs::create_directory(root_ / "target");
  fs::create_directory_symlink(root_ / "target", root_ / "linked.jpg");
  fs::create_symlink(root_ / "beach.jpg", root_ / "alias.jpg");
  fs::create_symlink(root_ / "gone.jpg", root_ / "dangling.jpg");
  MakeFifo("pipe.jpg");

  EXPECT_EQ(Sorted(files_.ListFiles(Path("*.jpg"))),
            (std::vector<std::string>{"Ab.Jpg", "alias.jpg", "beach.jpg", "holiday.JPG"}));
  EXPECT_EQ(Sorted(files_.ListFiles(Path("?b.jpg"))), std::vector<std::string>{"Ab.Jpg"});
  // A doubled separator, as a root folder gives, lists the same folder.
  EXPECT_EQ(Sorted(files_.ListFiles(root_.string() + "//*.TXT")),
            (std::vector<std::string>{"notes.txt", "photo.jpg.txt"}));
  EXPECT_FALSE(files_.ListFiles(Path("missing/*.jpg")).has_value());
  EXPECT_FALSE(files_.ListFiles(Path("notes.txt/*.jpg")).has_value());
}

TEST_F(LinuxFileSystemTest, AttributesOfFilesFoldersAndSpecialFiles) {
  Write("a.bmp");
  Write(".hidden.bmp");
  fs::create_directory(root_ / "folder");
  EXPECT_EQ(files_.Attributes(Path("a.bmp")), FileAttribute::Normal);
  EXPECT_EQ(files_.Attributes(root_.string() + "//a.bmp"), FileAttribute::Normal);
  EXPECT_EQ(files_.Attributes(Path("folder")), FileAttribute::Directory);
  EXPECT_NE(files_.Attributes(Path(".hidden.bmp")).value_or(0) & FileAttribute::Hidden, 0);
  EXPECT_FALSE(files_.Attributes(Path("missing.bmp")).has_value());
  if (!MakeFifo("pipe.bmp")) GTEST_SKIP() << "mkfifo is not available";
  EXPECT_NE(files_.Attributes(Path("pipe.bmp")), FileAttribute::Normal);
}

TEST_F(LinuxFileSystemTest, ScansAFolderOfPictures) {
  Write("b.bmp");
  Write("B.GIF");
  Write("a.jpg");
  Write(".a.wmf");
  ImageCatalogue catalogue;
  BuildCatalogue(catalogue, root_.string(), {1, 1, 1, 1}, files_);
  const std::string prefix = root_.string() + "/";
  EXPECT_EQ(std::vector<std::string>(catalogue.ImageFiles.begin() + 1, catalogue.ImageFiles.end()),
            (std::vector<std::string>{prefix + "B.GIF", prefix + "a.jpg", prefix + "b.bmp"}));
}

TEST_F(LinuxFileSystemTest, FolderExistsForEmptyFoldersOnly) {
  fs::create_directory(root_ / "empty");
  Write("file.jpg");
  EXPECT_TRUE(FolderExists(Path("empty"), files_));
  EXPECT_TRUE(FolderExists(Path("empty") + "/", files_));
  EXPECT_TRUE(FolderExists(Path("empty") + "  ", files_));
  EXPECT_FALSE(FolderExists(Path("missing"), files_));
  EXPECT_FALSE(FolderExists(Path("file.jpg"), files_));
  EXPECT_TRUE(files_.HasEntry(Path("*.JPG")));
  EXPECT_FALSE(files_.HasEntry(Path("*.gif")));
}

TEST_F(LinuxFileSystemTest, ReadsWholeRegularFilesOnly) {
  std::string contents(200000, '\0');
  for (std::size_t i = 0; i < contents.size(); ++i) contents[i] = static_cast<char>(i * 7 % 251);
  Write("big.bin", contents);
  Write("empty.ini", "");
  fs::create_directory(root_ / "folder");

  EXPECT_TRUE(files_.CanOpenForRead(Path("big.bin")));
  EXPECT_EQ(files_.ReadFile(Path("big.bin")), contents);
  EXPECT_EQ(files_.ReadFile(Path("empty.ini")), "");
  EXPECT_FALSE(files_.CanOpenForRead(Path("missing.ini")));
  EXPECT_FALSE(files_.ReadFile(Path("missing.ini")).has_value());
  EXPECT_FALSE(files_.CanOpenForRead(Path("folder")));
  EXPECT_FALSE(files_.ReadFile(Path("folder")).has_value());

  // A FIFO would block a reader until some writer came along.
  if (!MakeFifo("Orvel.ini")) GTEST_SKIP() << "mkfifo is not available";
  EXPECT_FALSE(files_.CanOpenForRead(Path("Orvel.ini")));
  EXPECT_FALSE(files_.ReadFile(Path("Orvel.ini")).has_value());
}

TEST_F(LinuxFileSystemTest, ReplaceCreatesFoldersAndLeavesNoTemporaryFile) {
  const std::string path = Path("config/orvel/Orvel.ini");
  ASSERT_TRUE(files_.ReplaceFile(path, "[Section]\r\nlong old contents\r\n"));
  EXPECT_EQ(files_.ReadFile(path), "[Section]\r\nlong old contents\r\n");
  ASSERT_TRUE(files_.ReplaceFile(path, "new"));
  EXPECT_EQ(files_.ReadFile(path), "new");
  ASSERT_TRUE(files_.ReplaceFile(path, ""));
  EXPECT_EQ(files_.ReadFile(path), "");

  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(root_ / "config/orvel")) {
    left.push_back(entry.path().filename().string());
  }
  EXPECT_EQ(left, std::vector<std::string>{"Orvel.ini"});
}

TEST_F(LinuxFileSystemTest, AFailedReplaceLeavesEverythingAsItWas) {
  Write("blocker", "a file where a folder should be");
  EXPECT_FALSE(files_.ReplaceFile(Path("blocker/Orvel.ini"), "new"));
  EXPECT_EQ(files_.ReadFile(Path("blocker")), "a file where a folder should be");

  fs::create_directory(root_ / "Orvel.ini");
  Write("Orvel.ini/keep", "kept");
  EXPECT_FALSE(files_.ReplaceFile(Path("Orvel.ini"), "new"));
  EXPECT_EQ(files_.ReadFile(Path("Orvel.ini/keep")), "kept");

  std::vector<std::string> left;
  for (const auto& entry : fs::directory_iterator(root_)) {
    left.push_back(entry.path().filename().string());
  }
  std::sort(left.begin(), left.end());
  EXPECT_EQ(left, (std::vector<std::string>{"Orvel.ini", "blocker"}));
}

}  // namespace
}  // namespace orvel
