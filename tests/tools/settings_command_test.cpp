#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "tool_runner.h"

namespace orvel {
namespace {

// The numbers of the JSON array after "name": in the tool's output.
std::vector<int> NumbersOf(const std::string& out, const std::string& name) {
  std::vector<int> numbers;
  std::size_t at = out.find("\"" + name + "\": [");
  if (at == std::string::npos) return numbers;
  std::istringstream list(
      out.substr(at + name.size() + 5, out.find(']', at) - at - name.size() - 5));
  for (std::string number; std::getline(list, number, ',');) numbers.push_back(std::stoi(number));
  return numbers;
}

// The Shift-JIS settings file with the folder "写真" (8E CA 90 5E) and "画像ﾁｪﾝｼﾞ" = order.
void WriteSettings(const std::filesystem::path& file, char order) {
  std::ofstream(file, std::ios::binary)
      << "[Section]\r\n\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE=\x8E\xCA\x90\x5E\r\n"
         "\x89\xE6\x91\x9C\xC1\xAA\xDD\xBC\xDE="
      << order << "\r\n";
}

TEST_F(ToolTest, SettingsPrintsTheLoadedSettingsAndPicturesAsJsonInAnOrderTheSeedRepeats) {
  std::filesystem::create_directories(dir / "写真");
  for (const char* name : {"b.JPG", "a.bmp", ".hidden.bmp", "notes.txt", "c.gif", "d.wmf"}) {
    std::ofstream(dir / "写真" / name) << "x";
  }
  WriteSettings(dir / "Orvel.ini", '0');
  const std::string command = "settings --display-order --ini Orvel.ini --seed ";
  const ToolResult result = Run(command + "3");
  EXPECT_EQ(result.status, 0);
  EXPECT_EQ(
      result.out,
      R"({"PictureOrder": 0, "PictureSize": 1, "ChangeInterval": 10, "PictureFolder": "写真", )"
      R"("PictureKinds": [1, 1, 1, 1], "BgmKind": 0, "BgmRepeatTrack": 0, "BgmFile": "", )"
      R"("ImageCount": 4, "ImageFiles": ["写真/a.bmp", "写真/b.JPG", "写真/c.gif", "写真/d.wmf"], )"
      R"("DisplayOrder": [1, 2, 3, 4]})"
      "\n");

  WriteSettings(dir / "Orvel.ini", '1');
  const std::vector<int> sequential = {1, 2, 3, 4};
  const ToolResult first = Run(command + "3");
  ASSERT_EQ(first.status, 0) << first.out;
  std::vector<int> order = NumbersOf(first.out, "DisplayOrder");
  EXPECT_NE(order, sequential);
  EXPECT_EQ(Run(command + "3").out, first.out);
  EXPECT_NE(NumbersOf(Run(command + "1").out, "DisplayOrder"), order);
  std::sort(order.begin(), order.end());
  EXPECT_EQ(order, sequential);  // a permutation
}

// A missing settings file is the defaults; an unreadable one is named, with exit 1.
TEST_F(ToolTest, SettingsTellsAMissingFileFromAnUnreadableOne) {
  const ToolResult missing = Run("settings --ini missing.ini");
  EXPECT_EQ(missing.status, 0);
  EXPECT_EQ(missing.out,
            R"({"PictureOrder": 0, "PictureSize": 1, "ChangeInterval": 10, "PictureFolder": "", )"
            R"("PictureKinds": [1, 1, 1, 1], "BgmKind": 0, "BgmRepeatTrack": 0, "BgmFile": "", )"
            R"("ImageCount": 0, "ImageFiles": []})"
            "\n");

  std::filesystem::create_directory(dir / "folder.ini");
  ASSERT_EQ(mkfifo((dir / "fifo.ini").c_str(), 0644), 0);
  WriteSettings(dir / "locked.ini", '1');
  std::filesystem::permissions(dir / "locked.ini", std::filesystem::perms::none);
  std::filesystem::create_symlink("loop.ini", dir / "loop.ini");
  std::ofstream(dir / "huge.ini") << std::string((1 << 20) + 1, '\n');
  for (const char* name : {"folder.ini", "fifo.ini", "locked.ini", "loop.ini", "huge.ini"}) {
    const ToolResult result = Run("settings --ini " + std::string(name));
    EXPECT_EQ(result.status, 1) << name;
    EXPECT_EQ(result.out,
              "orvel-tool settings: cannot read the settings file \"" + std::string(name) + "\"\n");
  }
  const ToolResult render = Run("render --screen 16x12 --seed 1 --frames 1 --ini huge.ini --out f");
  EXPECT_EQ(render.status, 1);
  EXPECT_EQ(render.out, "orvel-tool render: cannot read the settings file \"huge.ini\"\n");
}

// Bad arguments print the command's usage and exit with 2; an unreadable input is named, exit 1.
TEST_F(ToolTest, BadArgumentsAndUnreadableInputs) {
  for (const std::string arguments :
       {"", "draw-orbs --background x.png --orbs 1,2,3,4,256 --out o.png",
        "compose --screen 16385x768 --picture-size 1 x.png --out o.png",
        "render --screen 64x48 --seed 1 --frames 0 --out o",
        "render --screen 64x48 --seed 1 --frames 2 --background a.png --ini b.ini --out o",
        "bench --screen 64x48", "settings --seed 3", "settings --ini",
        "settings --display-order --seed x", "settings --display-order --seed 3x"}) {
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
