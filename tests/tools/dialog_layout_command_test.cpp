#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <sstream>
#include <string>

#include "dialog/dialog_layout.h"
#include "tool_runner.h"

namespace orvel {
namespace {

std::map<std::string, Rect> Parse(const std::string& out) {
  std::map<std::string, Rect> rects;
  std::istringstream in(out);
  std::string name;
  Rect r;
  for (std::string line; std::getline(in, line);) {
    std::istringstream fields(line);
    if (fields >> name >> r.x >> r.y >> r.w >> r.h && fields.eof()) rects[name] = r;
  }
  return rects;
}

TEST_F(ToolTest, DialogLayoutGivesEveryControlInTheClientAreaAtTheScaleAskedFor) {
  const ToolResult result = Run("dialog-layout");
  ASSERT_EQ(result.status, 0) << result.out;
  const std::map<std::string, Rect> rects = Parse(result.out);
  EXPECT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), kDialogControlCount);
  EXPECT_EQ(static_cast<int>(rects.size()), kDialogControlCount);
  // "ﾗﾝﾀﾞﾑ" lies at (40, 56) in its group panel at (344, 12): counted from the client area.
  EXPECT_EQ(rects.at("lbl_Rdm_Seq(1)"), (Rect{384, 68, 32, 13}));
  EXPECT_EQ(rects.at("lbl_Button(2)"), (Rect{340, 332, 93, 17}));
  EXPECT_EQ(rects.at("List_1"), (Rect{24, 80, 169, 225}));
  EXPECT_EQ(rects.at("Pic_C"), (Rect{0, 0, 557, 489}));
  EXPECT_EQ(Parse(Run("dialog-layout --scale 2").out).at("lbl_Rdm_Seq(1)"),
            (Rect{768, 136, 64, 26}));
  EXPECT_EQ(Parse(Run("dialog-layout --scale 1.5").out).at("HS_CD"), (Rect{552, 330, 134, 26}));
  for (const char* bad : {"--scale", "--scale 0", "--scale -1", "--scale 2x", "--wide"})
    EXPECT_EQ(Run(std::string("dialog-layout ") + bad).status, 2) << bad;
}

}  // namespace
}  // namespace orvel
