// The settings file on a real Linux disk: what the in-memory tests of the
// settings store cannot show (a write cut short by the system, file modes).
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "platform/linux/linux_platform.h"
#include "settings/settings_store.h"
#include "temp_folder.h"

namespace orvel {
namespace {

TEST(SettingsStoreOnDisk, AnInterruptedWriteLeavesTheOldFileWhole) {
  const TempFolder temp;
  const std::string folder = temp.path().string();
  LinuxFileSystem files;
  const std::string ini = folder + "/Orvel.ini";
  ASSERT_TRUE(WriteIniString(kSettingsSection, SettingsKey::PictureFolder, "/写真", ini, files));
  const std::optional<std::string> before = files.ReadFile(ini, kMaxIniFileBytes);

  pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    // The write runs out of room half way: files may not grow past 4 KiB.
    signal(SIGXFSZ, SIG_IGN);
    rlimit limit{4096, 4096};
    setrlimit(RLIMIT_FSIZE, &limit);
    _exit(WriteIniString(kSettingsSection, "k", std::string(20000, 'x'), ini, files) ? 1 : 0);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  EXPECT_EQ(status, 0) << "the failed write was reported as stored";
  EXPECT_EQ(files.ReadFile(ini, kMaxIniFileBytes), before);
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder), {}), 1);  // no temp file
}

TEST(SettingsStoreOnDisk, AReadOnlyOrOversizedFileIsLeftAsItIs) {
  const TempFolder temp;
  const std::string folder = temp.path().string();
  LinuxFileSystem files;
  const std::string ini = folder + "/Orvel.ini";
  ASSERT_TRUE(WriteIniString(kSettingsSection, SettingsKey::ChangeInterval, "15", ini, files));
  const std::optional<std::string> before = files.ReadFile(ini, kMaxIniFileBytes);
  chmod(ini.c_str(), 0444);
  EXPECT_FALSE(WriteIniString(kSettingsSection, SettingsKey::ChangeInterval, "20", ini, files));
  EXPECT_EQ(files.ReadFile(ini, kMaxIniFileBytes), before);
  chmod(ini.c_str(), 0644);

  ASSERT_TRUE(files.ReplaceFile(ini, *before + std::string(kMaxIniFileBytes, '\n')));
  SaverSettings settings;
  ImageCatalogue catalogue;
  EXPECT_FALSE(LoadSettings(settings, catalogue, ini, files));
  EXPECT_EQ(settings.ChangeInterval, 10);
  EXPECT_FALSE(WriteIniString(kSettingsSection, SettingsKey::ChangeInterval, "20", ini, files));
  EXPECT_EQ(std::filesystem::file_size(ini), before->size() + kMaxIniFileBytes);
}

}  // namespace
}  // namespace orvel
