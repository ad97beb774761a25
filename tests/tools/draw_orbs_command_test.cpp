#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "platform/linux/pixbuf_pictures.h"
#include "tool_runner.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

class DrawOrbsCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("orvel-draw-orbs-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    background = (dir / "grey.png").string();
    ASSERT_TRUE(SavePng(Image(120, 80, kGrey), background));
  }
  void TearDown() override { fs::remove_all(dir); }

  static constexpr std::uint32_t kGrey = Rgb(100, 100, 100);
  fs::path dir;
  std::string background;
};

TEST_F(DrawOrbsCommandTest, TintsTheDiscsAndLeavesTheRestOfTheBackground) {
  // An orb in the open, one on the bottom-right corner pixel and one at the
  // far corner of the orb coordinates, which draws nothing.
  const std::string out = (dir / "out.png").string();
  ToolResult result = RunTool("draw-orbs --background '" + background +
                              "' --orbs '30,30,25,15,50;119,79,60,60,60;-32768,32767,255,0,0' "
                              "--out '" +
                              out + "'");
  ASSERT_EQ(result.status, 0);
  std::optional<Image> image = PixbufPictureLoader().Load(out);
  ASSERT_TRUE(image);
  ASSERT_EQ(image->Width(), 120);
  ASSERT_EQ(image->Height(), 80);

  // The centre (weight 9), ring 5 (weight 5) and ring 9 (weight 1).
  EXPECT_EQ(image->At(30, 30), Rgb(255, 235, 255));
  EXPECT_EQ(image->At(40, 30), Rgb(225, 175, 255));
  EXPECT_EQ(image->At(30, 48), Rgb(125, 115, 150));
  // The corner orb shows its upper-left quarter, saturated.
  EXPECT_EQ(image->At(118, 78), Rgb(255, 255, 255));

  // Outside the discs, in the last column and in the last row: the
  // background.
  int changedOutside = 0;
  for (int y = 0; y < 80; ++y) {
    for (int x = 0; x < 120; ++x) {
      const bool inFirst = (x - 30) * (x - 30) + (y - 30) * (y - 30) <= 400;
      const bool inCorner = (x - 119) * (x - 119) + (y - 79) * (y - 79) <= 400 && x < 119 && y < 79;
      if (!inFirst && !inCorner && image->At(x, y) != kGrey) ++changedOutside;
    }
  }
  EXPECT_EQ(changedOutside, 0);
  // The rim (weight 0) is written with the background colour itself.
  EXPECT_EQ(image->At(50, 30), kGrey);
}

TEST_F(DrawOrbsCommandTest, RejectsBadOrbsAndNamesFilesItCannotUse) {
  const std::string out = " --out '" + (dir / "out.png").string() + "'";
  const std::string in = " --background '" + background + "'";
  std::string eleven = "0,0,1,1,1";
  for (int i = 0; i < 10; ++i) eleven += ";0,0,1,1,1";
  for (const std::string& arguments :
       {"draw-orbs" + in + out, "draw-orbs" + in + " --orbs 1,2,3,4,5",
        "draw-orbs" + in + " --orbs '" + eleven + "'" + out,
        "draw-orbs" + in + " --orbs 1,2,3,4" + out, "draw-orbs" + in + " --orbs 1,2,3,4,256" + out,
        "draw-orbs" + in + " --orbs 1,2,-1,4,5" + out,
        "draw-orbs" + in + " --orbs 32768,2,3,4,5" + out,
        "draw-orbs" + in + " --orbs '1,2,3,4,5;'" + out,
        "draw-orbs" + in + " --orbs x,2,3,4,5" + out,
        "draw-orbs" + in + " --orbs 1,2,3,4,5 extra" + out,
        "draw-orbs" + in + " --orbs 1,2,3,4,5 --size 3" + out}) {
    ToolResult result = RunTool(arguments, true);
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_EQ(result.out.rfind("usage: orvel-tool draw-orbs", 0), 0u) << arguments;
  }

  const std::string missing = (dir / "missing.png").string();
  ToolResult unreadable =
      RunTool("draw-orbs --background '" + missing + "' --orbs 1,2,3,4,5" + out, true);
  EXPECT_EQ(unreadable.status, 1);
  EXPECT_NE(unreadable.out.find(missing), std::string::npos) << unreadable.out;

  const std::string unwritable = (dir / "no-such-folder" / "out.png").string();
  ToolResult unwritten =
      RunTool("draw-orbs" + in + " --orbs 1,2,3,4,5 --out '" + unwritable + "'", true);
  EXPECT_EQ(unwritten.status, 1);
  EXPECT_NE(unwritten.out.find(unwritable), std::string::npos) << unwritten.out;
}

}  // namespace
}  // namespace orvel
