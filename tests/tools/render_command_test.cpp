#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>

#include "platform/linux/pixbuf_pictures.h"
#include "tool_runner.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

class RenderCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("orvel-render-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::string Quote(const fs::path& path) { return "'" + path.string() + "'"; }

  std::set<std::string> FilesIn(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  Image Frame(const fs::path& folder, int frame) {
    char name[32];
    std::snprintf(name, sizeof name, "frame-%05d.png", frame);
    std::optional<Image> image = PixbufPictureLoader().Load((folder / name).string());
    EXPECT_TRUE(image) << folder / name;
    return image.value_or(Image());
  }

  fs::path dir;
};

TEST_F(RenderCommandTest, WritesEveryMthFrameOfOrbsMovingOverTheDesktop) {
  Image desktop(160, 120);
  for (int y = 0; y < 120; ++y) {
    for (int x = 0; x < 160; ++x) desktop.Set(x, y, Rgb(x, y, 90));
  }
  const fs::path in = dir / "desktop.png";
  ASSERT_TRUE(SavePng(desktop, in.string()));
  const auto render = [&](int seed, const fs::path& out) {
    return RunTool("render --screen 160x120 --seed " + std::to_string(seed) +
                   " --frames 10 --every 3 --background " + Quote(in) + " --out " + Quote(out))
        .status;
  };
  ASSERT_EQ(render(5, dir / "first"), 0);
  EXPECT_EQ(FilesIn(dir / "first"),
            (std::set<std::string>{"frame-00003.png", "frame-00006.png", "frame-00009.png"}));

  for (int frame : {3, 6, 9}) {
    const Image image = Frame(dir / "first", frame);
    ASSERT_EQ(image.Width(), 160);
    ASSERT_EQ(image.Height(), 120);
    // Orbs only brighten the desktop, and never its last column or row.
    int brightened = 0;
    for (int y = 0; y < 120; ++y) {
      for (int x = 0; x < 160; ++x) {
        const std::uint32_t shown = image.At(x, y);
        const std::uint32_t under = desktop.At(x, y);
        ASSERT_GE(RedOf(shown), RedOf(under)) << x << "," << y;
        ASSERT_GE(GreenOf(shown), GreenOf(under)) << x << "," << y;
        ASSERT_GE(BlueOf(shown), BlueOf(under)) << x << "," << y;
        if (shown != under) {
          ++brightened;
          ASSERT_TRUE(x < 159 && y < 119) << x << "," << y;
        }
      }
    }
    EXPECT_GT(brightened, 0) << frame;
  }
  EXPECT_NE(Frame(dir / "first", 3), Frame(dir / "first", 6));

  // The seed alone decides the run.
  ASSERT_EQ(render(5, dir / "again"), 0);
  ASSERT_EQ(render(6, dir / "other"), 0);
  for (int frame : {3, 6, 9}) {
    EXPECT_EQ(Frame(dir / "again", frame), Frame(dir / "first", frame)) << frame;
  }
  EXPECT_NE(Frame(dir / "other", 3), Frame(dir / "first", 3));
}

TEST_F(RenderCommandTest, RunsTheSlideshowOfTheSettingsFile) {
  // Two pictures of the screen's size, one a second in name order. The
  // loader goes by what a file holds, so PNG data under a ".bmp" name does.
  fs::create_directories(dir / "pictures");
  ASSERT_TRUE(SavePng(Image(160, 120, Rgb(200, 0, 0)), (dir / "pictures" / "a.bmp").string()));
  ASSERT_TRUE(SavePng(Image(160, 120, Rgb(0, 0, 200)), (dir / "pictures" / "b.bmp").string()));
  // "画像のﾌｫﾙﾀﾞ" and "ｲﾝﾀｰﾊﾞﾙ" in Shift-JIS.
  std::ofstream(dir / "Orvel.ini", std::ios::binary)
      << "[Section]\r\n\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE=" << (dir / "pictures").string()
      << "\r\n\xB2\xDD\xC0\xB0\xCA\xDE\xD9=1\r\n";

  ASSERT_EQ(RunTool("render --screen 160x120 --seed 1 --frames 70 --every 10 --ini " +
                    Quote(dir / "Orvel.ini") + " --out " + Quote(dir / "frames"))
                .status,
            0);
  // Frame n runs at (n - 1) / 30 seconds; the change at 1 s shows from
  // frame 32 on, the one at 2 s (back to the first picture) from frame 62.
  // The last row is never drawn on, so it shows the background alone.
  const std::uint32_t red = Rgb(200, 0, 0);
  const std::uint32_t blue = Rgb(0, 0, 200);
  const std::map<int, std::uint32_t> expected = {
      {10, red}, {30, red}, {40, blue}, {60, blue}, {70, red}};
  for (const auto& [frame, colour] : expected) {
    const Image image = Frame(dir / "frames", frame);
    ASSERT_EQ(image.Height(), 120);
    EXPECT_EQ(image.At(0, 119), colour) << frame;
    EXPECT_EQ(image.At(159, 119), colour) << frame;
  }
}

TEST_F(RenderCommandTest, RejectsBadArgumentsAndNamesMissingInputs) {
  const std::string out = " --out " + Quote(dir / "frames");
  for (const std::string& arguments :
       {"render --screen 64x48 --frames 2" + out, "render --screen 64x48 --seed 1" + out,
        std::string("render --screen 64x48 --seed 1 --frames 2"),
        "render --screen 64 --seed 1 --frames 2" + out,
        "render --screen 64x48 --seed -1 --frames 2" + out,
        "render --screen 64x48 --seed 1 --frames 0" + out,
        "render --screen 64x48 --seed 1 --frames 2 --every 0" + out,
        "render --screen 64x48 --seed 1 --frames 2 --background a.png --ini b.ini" + out}) {
    ToolResult result = RunTool(arguments, true);
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_EQ(result.out.rfind("usage: orvel-tool render", 0), 0u) << arguments;
  }
  for (const std::string flag : {"--background", "--ini"}) {
    const std::string missing = (dir / "missing.file").string();
    ToolResult result = RunTool(
        "render --screen 64x48 --seed 1 --frames 2 " + flag + " '" + missing + "'" + out, true);
    EXPECT_EQ(result.status, 1) << flag;
    EXPECT_NE(result.out.find(missing), std::string::npos) << result.out;
  }
  EXPECT_FALSE(fs::exists(dir / "frames"));
}

TEST(BenchCommand, RejectsBadArgumentsAndTimesBothRestores) {
  for (const char* arguments :
       {"bench", "bench --screen 64x48", "bench --frames 3", "bench --screen 64x0 --frames 3",
        "bench --screen 64x48 --frames 0", "bench --screen 64x48 --frames 3 extra"}) {
    ToolResult result = RunTool(arguments, true);
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_EQ(result.out.rfind("usage: orvel-tool bench", 0), 0u) << arguments;
  }
  ToolResult result = RunTool("bench --screen 64x48 --frames 5");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("dirty rects"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("full screen"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace orvel
