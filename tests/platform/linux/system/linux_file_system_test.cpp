#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "platform/linux/system/linux_platform.h"
#include "settings/image_catalogue.h"
#include "settings/settings_store.h"
#include "temp_folder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

class LinuxFileSystemTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (root_ / name).string(); }
  void Write(const std::string& name, const std::string& text = "x") const {
    std::ofstream(root_ / name, std::ios::binary) << text;
  }
  std::optional<std::string> Read(const std::string& path, std::size_t maxBytes = 1 << 20) {
    return files_.ReadFile(path, maxBytes);
  }
  std::vector<std::string> Names(const fs::path& folder) const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
  }

  // The names matching `pattern`, sorted (throwing, and so failing, without a list).
  std::vector<std::string> List(const std::string& pattern) {
    std::optional<std::vector<std::string>> names = files_.ListFiles(pattern);
    std::sort(names.value().begin(), names->end());
    return *names;
  }

  // Whether `body` returns true in a child process (with limits of its own).
  template <typename Body>
  static bool InChild(Body body) {
    const pid_t child = fork();
    if (child == 0) _exit(body() ? 0 : 1);
    int status = 0;
    return child > 0 && waitpid(child, &status, 0) == child && status == 0;
  }

  TempFolder folder_;
  const fs::path root_ = folder_.path();
  LinuxFileSystem files_;
};

TEST_F(LinuxFileSystemTest,
       ListsVisibleRegularFilesWithoutRegardToCaseAndTellsAttributesAndFolders) {
  for (const char* name : {"holiday.JPG", "beach.jpg", "Ab.Jpg", "notes.txt", ".hidden.jpg"})
    Write(name);
  fs::create_directory(root_ / "album.jpg");
  fs::create_directory(root_ / "target");
  fs::create_directory_symlink(root_ / "target", root_ / "linked.jpg");
  fs::create_symlink(root_ / "beach.jpg", root_ / "alias.jpg");
  ASSERT_EQ(mkfifo(Path("pipe.jpg").c_str(), 0600), 0);

  EXPECT_EQ(List(Path("*.jpg")),
            (std::vector<std::string>{"Ab.Jpg", "alias.jpg", "beach.jpg", "holiday.JPG"}));
  EXPECT_EQ(List(Path("?b.jpg")), std::vector<std::string>{"Ab.Jpg"});
  EXPECT_EQ(List(root_.string() + "//*.TXT"), std::vector<std::string>{"notes.txt"});
  EXPECT_FALSE(files_.ListFiles(Path("missing/*.jpg")).has_value());

  EXPECT_EQ(files_.Attributes(Path("beach.jpg")), FileAttribute::Normal);
  EXPECT_EQ(files_.Attributes(Path("album.jpg")), FileAttribute::Directory);
  EXPECT_NE(files_.Attributes(Path(".hidden.jpg")).value_or(0) & FileAttribute::Hidden, 0);
  EXPECT_NE(files_.Attributes(Path("pipe.jpg")), FileAttribute::Normal);
  EXPECT_FALSE(files_.Attributes(Path("missing.jpg")).has_value());
  EXPECT_TRUE(FolderExists(Path("album.jpg"), files_));
  EXPECT_TRUE(FolderExists(Path("album.jpg") + "/", files_));
  EXPECT_FALSE(FolderExists(Path("missing"), files_));
  EXPECT_FALSE(FolderExists(Path("beach.jpg"), files_));
  EXPECT_FALSE(files_.CanOpenForRead(Path("pipe.jpg")));
  EXPECT_FALSE(Read(Path("pipe.jpg")).has_value());
}

TEST_F(LinuxFileSystemTest, ReplaceCreatesFoldersAndLeavesNoTemporaryFile) {
  const std::string path = Path("config/orvel/Orvel.ini");
  std::string binary(5000, '\0');
  for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7 % 251);
  ASSERT_TRUE(files_.ReplaceFile(path, "[Section]\r\n" + binary));
  EXPECT_EQ(Read(path), "[Section]\r\n" + binary);
  ASSERT_TRUE(files_.ReplaceFile(path, "new"));
  EXPECT_EQ(Read(path), "new");

  EXPECT_EQ(Names(root_ / "config/orvel"), std::vector<std::string>{"Orvel.ini"});

  fs::create_directories(root_ / "dotfiles");
  fs::create_symlink(root_ / "dotfiles/Orvel.ini", Path("linked.ini"));
  ASSERT_TRUE(files_.ReplaceFile(Path("linked.ini"), "through the link"));
  EXPECT_TRUE(fs::is_symlink(Path("linked.ini")));
  EXPECT_EQ(Read(Path("dotfiles/Orvel.ini")), "through the link");
}

TEST_F(LinuxFileSystemTest, ReadsOnlyReadableRegularFilesUpToTheLimitWithoutBlocking) {
  Write("ten.ini", "0123456789");
  EXPECT_EQ(Read(Path("ten.ini"), 10), "0123456789");
  EXPECT_FALSE(Read(Path("ten.ini"), 9).has_value());
  EXPECT_EQ(Read(Path("ten.ini"), 0), std::nullopt);
  Write("empty.ini", "");
  EXPECT_EQ(Read(Path("empty.ini"), 0), "");

  // Unreadable also for root, who could open it.
  Write("locked.ini");
  fs::permissions(Path("locked.ini"), fs::perms::none);
  EXPECT_FALSE(Read(Path("locked.ini")).has_value());
  EXPECT_FALSE(files_.CanOpenForRead(Path("locked.ini")));
  EXPECT_EQ(files_.Attributes(Path("locked.ini")), FileAttribute::Normal);
  fs::permissions(Path("locked.ini"), fs::perms::owner_read);
  EXPECT_EQ(Read(Path("locked.ini")), "x");

  fs::create_symlink(Path("loop.ini"), Path("loop.ini"));
  fs::create_symlink(Path("nothing.ini"), Path("dangling.ini"));
  EXPECT_EQ(files_.Attributes(Path("loop.ini")), FileAttribute::System);
  EXPECT_FALSE(Read(Path("loop.ini")).has_value());
  EXPECT_FALSE(files_.Attributes(Path("dangling.ini")).has_value());
  fs::create_directory(root_ / "folder");
  EXPECT_FALSE(Read(Path("folder")).has_value());
}

TEST_F(LinuxFileSystemTest, AFileBehindAFolderThatMayNotBeSearchedIsThereButUnreadable) {
  Write("Orvel.ini");
  fs::permissions(root_, fs::perms::owner_all);
  // Root may search any folder: a child that gives up root asks instead.
  const bool root = geteuid() == 0;
  if (!root) fs::permissions(root_, fs::perms::none);
  const bool unreadable = InChild([&] {
    return (!root || setuid(65534) == 0) &&
           files_.Attributes(Path("Orvel.ini")) == FileAttribute::System &&
           !files_.ReadFile(Path("Orvel.ini"), 100);
  });
  fs::permissions(root_, fs::perms::owner_all);
  EXPECT_TRUE(unreadable);
}

TEST_F(LinuxFileSystemTest, AReadOnlyFileIsNeverReplaced) {
  Write("Orvel.ini", "kept");
  const fs::perms readOnly = fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read;
  fs::permissions(Path("Orvel.ini"), readOnly);
  EXPECT_FALSE(files_.ReplaceFile(Path("Orvel.ini"), "new"));
  fs::create_symlink(Path("Orvel.ini"), Path("linked.ini"));
  EXPECT_FALSE(files_.ReplaceFile(Path("linked.ini"), "new"));
  EXPECT_EQ(Read(Path("Orvel.ini")), "kept");
  EXPECT_EQ(fs::status(Path("Orvel.ini")).permissions(), readOnly);
  EXPECT_EQ(Names(root_), (std::vector<std::string>{"Orvel.ini", "linked.ini"}));

  fs::permissions(Path("Orvel.ini"), fs::perms::owner_write, fs::perm_options::add);
  ASSERT_TRUE(files_.ReplaceFile(Path("Orvel.ini"), "new"));
  EXPECT_EQ(Read(Path("Orvel.ini")), "new");
  EXPECT_EQ(fs::status(Path("Orvel.ini")).permissions(), readOnly | fs::perms::owner_write);
}

TEST_F(LinuxFileSystemTest, StampsTellARegularFileRewrittenSince) {
  Write("a.jpg", "abc");
  const std::optional<FileStamp> first = files_.Stamp(Path("a.jpg"));
  ASSERT_TRUE(first);
  EXPECT_EQ(first->size, 3u);
  EXPECT_EQ(files_.Stamp(Path("a.jpg")), first);
  Write("a.jpg", "abc");
  fs::last_write_time(Path("a.jpg"), fs::last_write_time(Path("a.jpg")) + 10ms);
  EXPECT_NE(files_.Stamp(Path("a.jpg")), first);
  EXPECT_FALSE(files_.Stamp(root_.string()));
  EXPECT_FALSE(files_.Stamp(Path("missing.jpg")));
}

TEST_F(LinuxFileSystemTest, ASettingsWriteCutShortByTheSystemLeavesTheOldFileWhole) {
  const std::string ini = Path("Orvel.ini");
  ASSERT_TRUE(WriteIniString(kSettingsSection, SettingsKey::PictureFolder, "/写真", ini, files_));
  const std::optional<std::string> before = Read(ini);
  EXPECT_TRUE(InChild([&] {
    // Files may not grow past 4 KiB: the write runs out of room half way.
    signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    return !WriteIniString(kSettingsSection, "k", std::string(20000, 'x'), ini, files_);
  })) << "the failed write was reported as stored";
  EXPECT_EQ(Read(ini), before);
  EXPECT_EQ(Names(root_), std::vector<std::string>{"Orvel.ini"});  // no temporary file
}

}  // namespace
}  // namespace orvel
