#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "dialog/skin.h"
#include "tool_runner.h"

namespace orvel {
namespace {

const char* const kNames[] = {
    "marble-strip", "heading-bar",        "button-face",   "button-face-pressed",
    "option-mark",  "option-mark-chosen", "check-mark",    "check-mark-on",
    "hand-cursor",  "window-icon",        "preview-still",
};

// The PNG colour type from the file's header: 2 for RGB, 6 for RGB with alpha, -1 for no PNG.
int PngColourType(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  const std::string bytes(std::istreambuf_iterator<char>(file), {});
  if (bytes.size() < 26 || bytes.compare(1, 3, "PNG") != 0) return -1;
  return static_cast<unsigned char>(bytes[25]);
}

TEST_F(ToolTest, SkinWritesEveryPictureWithItsCoverageAtTheScaleAskedFor) {
  const ToolResult result = Run("skin --out pictures");
  ASSERT_EQ(result.status, 0) << result.out;
  for (const char* name : kNames)
    EXPECT_GT(Load("pictures/" + std::string(name) + ".png").Width(), 0) << name;
  // Opaque pictures are written without alpha, exactly as drawn.
  EXPECT_EQ(PngColourType(Path("pictures/marble-strip.png")), 2);
  EXPECT_EQ(Load("pictures/marble-strip.png"), MarbleStrip(1));
  EXPECT_EQ(Load("pictures/preview-still.png"), PreviewStill());
  EXPECT_EQ(Load("pictures/window-icon.png"), WindowIcon());
  // The hand keeps its coverage: read back over black, it is the hand drawn over black (±1).
  const Image read = Load("pictures/hand-cursor.png");
  Image drawn(32, 32);
  DrawSprite(drawn, HandCursor(1).picture, 0, 0);
  ASSERT_EQ(std::pair(read.Width(), read.Height()), std::pair(32, 32));
  for (std::size_t i = 0; i < 32 * 32; ++i) {
    const std::uint32_t a = read.Pixels()[i], b = drawn.Pixels()[i];
    EXPECT_LE(std::abs(RedOf(a) - RedOf(b)) + std::abs(GreenOf(a) - GreenOf(b)) +
                  std::abs(BlueOf(a) - BlueOf(b)),
              3)
        << "pixel " << i;
  }

  ASSERT_EQ(Run("skin --scale 2 --out two").status, 0);
  ASSERT_EQ(Run("skin --out half --scale 1.5").status, 0);
  const Image half = Load("half/heading-bar.png");
  EXPECT_EQ(std::pair(half.Width(), half.Height()), std::pair(143, 33));
  EXPECT_EQ(Load("two/marble-strip.png"), MarbleStrip(2));
}

TEST_F(ToolTest, SkinRejectsBadArgumentsAndAnUnwritableFolder) {
  for (const char* arguments :
       {"skin", "skin --out", "skin --out x --scale", "skin --out x --scale 0",
        "skin --out x --scale 0.4", "skin --out x --scale 8.5", "skin --out x --scale two",
        "skin --out x --scale 1x", "skin --out x --scale nan", "skin --out x extra",
        "skin --out x --size 2", "skin --out x --out y"}) {
    const ToolResult result = Run(arguments);
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_NE(result.out.find("usage: orvel-tool skin"), std::string::npos) << arguments;
  }
  EXPECT_FALSE(std::filesystem::exists(dir / "x"));
  std::ofstream(Path("file")) << "not a folder";
  const ToolResult result = Run("skin --out file");
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find("file"), std::string::npos) << result.out;
  EXPECT_EQ(Run("skin --out file/below").status, 1);
}

}  // namespace
}  // namespace orvel
