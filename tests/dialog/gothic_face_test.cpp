#include "dialog/gothic_face.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvel {
namespace {

TEST(GothicFace, TheFirstInstalledOfTheListAndTheDialogsOwnWhenNoneIs) {
  const std::pair<std::vector<std::string>, std::string_view> cases[] = {
      {{"Arial", "IPAPGothic", "ＭＳ Ｐゴシック"}, "ＭＳ Ｐゴシック"},
      {{"Segoe UI", "Yu Gothic UI", "MS UI Gothic", "MS PGothic"}, "MS PGothic"},
      {{"Yu Gothic UI", "Tahoma", "MS UI Gothic"}, "MS UI Gothic"},
      {{"@Yu Gothic UI", "Yu Gothic UI"}, "Yu Gothic UI"},
      {{"Tahoma", "ipapgothic"}, "IPAPGothic"},
      {{"IPA Pゴシック", "IPAGothic"}, "IPA Pゴシック"},
      {{"Tahoma", "IPAGothic", "MS PGothic UI"}, "ＭＳ Ｐゴシック"},
      {{}, "ＭＳ Ｐゴシック"},
  };
  for (const auto& [installed, face] : cases)
    EXPECT_EQ(ChooseGothicFace(installed), face) << installed.size();
}

}  // namespace
}  // namespace orvel
