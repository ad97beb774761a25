#include "dialog/gothic_face.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvel {
namespace {

TEST(GothicFace, TheFirstInstalledOfTheListAndTheDialogsOwnWhenNoneIs) {
  struct Case {
    std::vector<std::string> installed;
    std::string_view face;
  };
  const Case cases[] = {
      {{"Arial", "IPAPGothic", "ＭＳ Ｐゴシック"}, "ＭＳ Ｐゴシック"},
      {{"Segoe UI", "Yu Gothic UI", "MS UI Gothic", "MS PGothic"}, "MS PGothic"},
      {{"Yu Gothic UI", "Tahoma", "MS UI Gothic"}, "MS UI Gothic"},
      {{"@Yu Gothic UI", "Yu Gothic UI"}, "Yu Gothic UI"},
      {{"Tahoma", "ipapgothic"}, "IPAPGothic"},
      {{"IPA Pゴシック", "IPAGothic"}, "IPA Pゴシック"},
      {{"Tahoma", "IPAGothic", "MS PGothic UI"}, "ＭＳ Ｐゴシック"},
      {{}, "ＭＳ Ｐゴシック"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ChooseGothicFace(c.installed), c.face) << c.installed.size();
}

}  // namespace
}  // namespace orvel
