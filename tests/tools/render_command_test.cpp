#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <utility>

#include "tool_runner.h"

namespace orvel {
namespace {

TEST_F(ToolTest, RenderWritesEveryMthFrameOfOrbsOverTheDesktopAsTheSeedDecides) {
  Image desktop(160, 120);
  for (int i = 0; i < 160 * 120; ++i) desktop.Set(i % 160, i / 160, Rgb(i % 160, i / 160, 90));
  ASSERT_TRUE(SavePng(desktop, Path("desktop.png")));
  const std::string render =
      "render --screen 160x120 --frames 6 --every 3 --background desktop.png";
  for (const char* run :
       {" --seed 5 --out first", " --seed 5 --out again", " --seed 6 --out other"})
    ASSERT_EQ(Run(render + run).status, 0) << run;
  // Frames 3 and 6 only; orbs show over the desktop, never on its last column or row.
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir / "first"), {}), 2);
  const Image frame = Load("first/frame-00006.png");
  ASSERT_EQ(std::pair(frame.Width(), frame.Height()), std::pair(160, 120));
  EXPECT_NE(frame, desktop);
  for (int x = 0; x < 160; ++x) EXPECT_EQ(frame.At(x, 119), desktop.At(x, 119)) << x;
  for (int y = 0; y < 120; ++y) EXPECT_EQ(frame.At(159, y), desktop.At(159, y)) << y;
  EXPECT_NE(Load("first/frame-00003.png"), frame);
  EXPECT_EQ(Load("again/frame-00003.png"), Load("first/frame-00003.png"));
  EXPECT_EQ(Load("again/frame-00006.png"), frame);
  EXPECT_NE(Load("other/frame-00006.png"), frame);
}

TEST_F(ToolTest, RenderRunsTheSlideshowOfTheSettingsFile) {
  // Two pictures, one a second; the loader goes by content, so PNG data named ".bmp" does.
  std::filesystem::create_directories(dir / "pictures");
  ASSERT_TRUE(SavePng(Image(160, 120, Rgb(200, 0, 0)), Path("pictures/a.bmp")));
  ASSERT_TRUE(SavePng(Image(160, 120, Rgb(0, 0, 200)), Path("pictures/b.bmp")));
  // "画像のﾌｫﾙﾀﾞ" = pictures and "ｲﾝﾀｰﾊﾞﾙ" = 1 in Shift-JIS.
  std::ofstream(dir / "Orvel.ini", std::ios::binary)
      << "[Section]\r\n\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE=pictures\r\n"
         "\xB2\xDD\xC0\xB0\xCA\xDE\xD9=1\r\n";
  const ToolResult result =
      Run("render --screen 160x120 --seed 1 --frames 70 --every 10 --ini Orvel.ini --out f");
  ASSERT_EQ(result.status, 0) << result.out;
  // Frame n runs at (n - 1) / 30 s: changes at 1 s and 2 s show from frames 32 and 62 (last row).
  const std::uint32_t red = Rgb(200, 0, 0), blue = Rgb(0, 0, 200);
  for (const auto& [frame, colour] : {std::pair{"30", red}, {"40", blue}, {"70", red}}) {
    const Image image = Load("f/frame-000" + std::string(frame) + ".png");
    ASSERT_EQ(image.Height(), 120) << frame;
    EXPECT_EQ(image.At(0, 119), colour) << frame;
  }
}

TEST_F(ToolTest, BenchTimesBothWaysOfPresenting) {
  const ToolResult result = Run("bench --screen 64x48 --frames 5");
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find("dirty rects"), std::string::npos) << result.out;
  EXPECT_NE(result.out.find("full screen"), std::string::npos) << result.out;
}

}  // namespace
}  // namespace orvel
