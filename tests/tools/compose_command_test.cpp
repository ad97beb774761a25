#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "platform/linux/pixbuf_pictures.h"
#include "tool_runner.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

class ComposeCommandTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() / ("orvel-compose-" + std::to_string(::getpid()));
    fs::remove_all(dir);
    fs::create_directories(dir);
    // An upright 600 x 800 picture: red on its left half, blue on its right,
    // the row number (mod 256) in green.
    Image picture(600, 800);
    for (int y = 0; y < 800; ++y) {
      for (int x = 0; x < 600; ++x)
        picture.Set(x, y, Rgb(x < 300 ? 200 : 0, y % 256, x < 300 ? 0 : 200));
    }
    upright = (dir / "upright.png").string();
    ASSERT_TRUE(SavePng(picture, upright));
  }
  void TearDown() override { fs::remove_all(dir); }

  std::optional<Image> Compose(const std::string& arguments) {
    const std::string out = (dir / "out.png").string();
    fs::remove(out);
    ToolResult result = RunTool("compose " + arguments + " --out '" + out + "'");
    EXPECT_EQ(result.status, 0) << arguments;
    return PixbufPictureLoader().Load(out);
  }

  fs::path dir;
  std::string upright;
};

TEST_F(ComposeCommandTest, FitsAnUprightPictureToTheHeightBetweenBlackBands) {
  // 600 x 800 on 1024 x 768 becomes 576 x 768 at x = 224.
  std::optional<Image> master = Compose("--screen 1024x768 --picture-size 1 '" + upright + "'");
  ASSERT_TRUE(master);
  ASSERT_EQ(master->Width(), 1024);
  ASSERT_EQ(master->Height(), 768);
  for (int y = 0; y < 768; ++y) {
    ASSERT_EQ(master->At(223, y), Rgb(0, 0, 0)) << y;
    ASSERT_EQ(RedOf(master->At(224, y)), 200) << y;
    ASSERT_EQ(BlueOf(master->At(799, y)), 200) << y;
    ASSERT_EQ(master->At(800, y), Rgb(0, 0, 0)) << y;
  }
  EXPECT_EQ(master->At(0, 0), Rgb(0, 0, 0));
  EXPECT_EQ(master->At(1023, 767), Rgb(0, 0, 0));
  // The first and the last picture rows reach the screen's edges.
  EXPECT_EQ(GreenOf(master->At(500, 0)), 0);
  EXPECT_EQ(GreenOf(master->At(500, 767)), 799 % 256);
}

TEST_F(ComposeCommandTest, UnscaledCutsTheOverhangEvenly) {
  // At its own size the picture sits at x = 212, y = -16.
  std::optional<Image> master = Compose("--screen 1024x768 --picture-size 0 '" + upright + "'");
  ASSERT_TRUE(master);
  EXPECT_EQ(master->At(211, 400), Rgb(0, 0, 0));
  EXPECT_EQ(master->At(212, 0), Rgb(200, 16, 0));
  EXPECT_EQ(master->At(811, 767), Rgb(0, 783 % 256, 200));
  EXPECT_EQ(master->At(812, 400), Rgb(0, 0, 0));
}

TEST_F(ComposeCommandTest, AnUnreadablePictureGivesBlackAndANote) {
  const std::string broken = (dir / "broken.jpg").string();
  std::ofstream(broken) << "not a picture";
  const std::string out = (dir / "out.png").string();
  ToolResult result =
      RunTool("compose --screen 64x32 --picture-size 1 '" + broken + "' --out '" + out + "'", true);
  EXPECT_EQ(result.status, 0);
  EXPECT_NE(result.out.find(broken), std::string::npos) << result.out;
  std::optional<Image> master = PixbufPictureLoader().Load(out);
  ASSERT_TRUE(master);
  EXPECT_EQ(*master, Image(64, 32, Rgb(0, 0, 0)));
}

TEST_F(ComposeCommandTest, RejectsBadArgumentsAndAnUnwritableOutput) {
  const std::string out = " --out '" + (dir / "out.png").string() + "'";
  const std::string picture = " '" + upright + "'";
  for (const std::string& arguments :
       {"compose --screen 1024x768 --picture-size 1" + out,
        "compose --screen 1024x768 --picture-size 1" + picture + picture + out,
        "compose --screen 1024x768" + picture + out,
        "compose --screen 0x768 --picture-size 1" + picture + out,
        "compose --screen 16385x768 --picture-size 1" + picture + out,
        "compose --screen 1024x --picture-size 1" + picture + out,
        "compose --screen 1024x768x2 --picture-size 1" + picture + out,
        "compose --screen 1024x768 --picture-size 32768" + picture + out,
        "compose --screen 1024x768 --picture-size 1 --picture-size 0" + picture + out}) {
    ToolResult result = RunTool(arguments, true);
    EXPECT_EQ(result.status, 2) << arguments;
    EXPECT_EQ(result.out.rfind("usage: orvel-tool compose", 0), 0u) << arguments;
  }
  // The largest screen side is accepted.
  EXPECT_EQ(RunTool("compose --screen 16384x1 --picture-size 1" + picture + out).status, 0);

  const std::string unwritable = (dir / "no-such-folder" / "out.png").string();
  ToolResult result = RunTool(
      "compose --screen 64x32 --picture-size 1" + picture + " --out '" + unwritable + "'", true);
  EXPECT_EQ(result.status, 1);
  EXPECT_NE(result.out.find(unwritable), std::string::npos) << result.out;
}

}  // namespace
}  // namespace orvel
