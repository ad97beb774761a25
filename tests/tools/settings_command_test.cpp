#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "tool_runner.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

class SettingsCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("orvel-settings-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir / "写真");
    for (const char* name : {"b.JPG", "a.bmp", ".hidden.bmp", "notes.txt"}) {
      std::ofstream(dir / "写真" / name) << "x";
    }
  }
  void TearDown() override { fs::remove_all(dir); }

  // Writes the settings file: the folder key in Shift-JIS, the folder name
  // "写真" (Shift-JIS 8E CA 90 5E) and the given extra lines.
  std::string WriteIni(const std::string& extra) {
    std::ofstream ini(dir / "Orvel.ini", std::ios::binary);
    ini << "[Section]\r\n\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE=" << dir.string()
        << "/\x8E\xCA\x90\x5E\r\n"
        << extra;
    return (dir / "Orvel.ini").string();
  }

  fs::path dir;
};

TEST_F(SettingsCommandTest, PrintsTheLoadedSettingsAndPicturesAsJson) {
  // "画像ﾁｪﾝｼﾞ" = 1: random order.
  std::string ini = WriteIni("\x89\xE6\x91\x9C\xC1\xAA\xDD\xBC\xDE=1\r\n");
  ToolResult first = RunTool("settings --ini '" + ini + "' --display-order --seed 7");
  ASSERT_EQ(first.status, 0);
  const std::string folder = (dir / "写真").string();
  EXPECT_EQ(first.out.substr(0, first.out.find(", \"DisplayOrder\"")),
            "{\"PictureOrder\": 1, \"PictureSize\": 1, \"ChangeInterval\": 10, "
            "\"PictureFolder\": \"" +
                folder +
                "\", \"PictureKinds\": [1, 1, 1, 1], "
                "\"BgmKind\": 0, \"BgmRepeatTrack\": 0, \"BgmFile\": \"\", \"ImageCount\": 2, "
                "\"ImageFiles\": [\"" +
                folder + "/a.bmp\", \"" + folder + "/b.JPG\"]");
  EXPECT_TRUE(first.out.find("\"DisplayOrder\": [1, 2]") != std::string::npos ||
              first.out.find("\"DisplayOrder\": [2, 1]") != std::string::npos)
      << first.out;

  // The same seed gives the same order.
  EXPECT_EQ(RunTool("settings --ini '" + ini + "' --display-order --seed 7").out, first.out);
}

TEST_F(SettingsCommandTest, AMissingFileGivesTheDefaults) {
  ToolResult result = RunTool("settings --ini '" + (dir / "none.ini").string() + "'");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(result.out,
            "{\"PictureOrder\": 0, \"PictureSize\": 1, \"ChangeInterval\": 10, "
            "\"PictureFolder\": \"\", \"PictureKinds\": [1, 1, 1, 1], \"BgmKind\": 0, "
            "\"BgmRepeatTrack\": 0, \"BgmFile\": \"\", \"ImageCount\": 0, \"ImageFiles\": []}\n");
}

TEST_F(SettingsCommandTest, BadArgumentsPrintUsageAndExitTwo) {
  for (const char* arguments : {"", "nonsense", "settings --ini", "settings --seed 3",
                                "settings --display-order --seed x", "settings --bogus"}) {
    ToolResult result = RunTool(arguments, true);
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_EQ(result.out.rfind("usage: orvel-tool", 0), 0u) << arguments << ": " << result.out;
  }
}

}  // namespace
}  // namespace orvel
