#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tool_runner.h"

namespace orvel {
namespace {

TEST_F(ToolTest, SettingsPrintsTheLoadedSettingsAndPicturesAsJson) {
  std::filesystem::create_directories(dir / "写真");
  for (const char* name : {"b.JPG", "a.bmp", ".hidden.bmp", "notes.txt"}) {
    std::ofstream(dir / "写真" / name) << "x";
  }
  // The folder "写真" (Shift-JIS 8E CA 90 5E), and "画像ﾁｪﾝｼﾞ" = 1: random order.
  std::ofstream(dir / "Orvel.ini", std::ios::binary)
      << "[Section]\r\n\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE=\x8E\xCA\x90\x5E\r\n"
         "\x89\xE6\x91\x9C\xC1\xAA\xDD\xBC\xDE=1\r\n";
  const ToolResult first = Run("settings --display-order --seed 7 --ini Orvel.ini");
  EXPECT_EQ(first.status, 0);
  EXPECT_EQ(
      first.out,
      R"({"PictureOrder": 1, "PictureSize": 1, "ChangeInterval": 10, "PictureFolder": "写真", )"
      R"("PictureKinds": [1, 1, 1, 1], "BgmKind": 0, "BgmRepeatTrack": 0, "BgmFile": "", )"
      R"("ImageCount": 2, "ImageFiles": ["写真/a.bmp", "写真/b.JPG"], "DisplayOrder": [1, 2]})"
      "\n");
  // The same seed gives the same order.
  EXPECT_EQ(Run("settings --display-order --seed 7 --ini Orvel.ini").out, first.out);
}

// Bad arguments print the command's usage and exit with 2; an input that
// cannot be read is named, with exit 1.
TEST_F(ToolTest, BadArgumentsAndUnreadableInputs) {
  for (const std::string arguments :
       {"", "draw-orbs --background x.png --orbs 1,2,3,4,256 --out o.png",
        "compose --screen 16385x768 --picture-size 1 x.png --out o.png",
        "render --screen 64x48 --seed 1 --frames 0 --out o",
        "render --screen 64x48 --seed 1 --frames 2 --background a.png --ini b.ini --out o",
        "bench --screen 64x48"}) {
    const ToolResult result = Run(arguments);
    EXPECT_EQ(result.status, 2) << arguments;
    const std::string usage = "usage: orvel-tool " + arguments.substr(0, arguments.find(' '));
    EXPECT_EQ(result.out.rfind(usage, 0), 0u) << arguments << ": " << result.out;
  }
  for (const char* arguments :
       {"draw-orbs --orbs 1,2,3,4,5 --out o.png --background missing.png",
        "render --screen 64x48 --seed 1 --frames 2 --out o --ini missing.png"}) {
    const ToolResult result = Run(arguments);
    EXPECT_EQ(result.status, 1) << arguments;
    EXPECT_NE(result.out.find("missing.png"), std::string::npos) << result.out;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "o"));
}

}  // namespace
}  // namespace orvel
