// The slideshow's order over more than one round of the pictures.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>
#include <string>
#include <vector>

#include "saver/saver.h"
#include "saver/saver_fixture.h"

namespace orvel {
namespace {

// The pictures loaded, in order, from calls such as "Load p3".
std::vector<std::string> Loaded(const std::string& calls) {
  std::vector<std::string> paths;
  std::istringstream in(calls);
  for (std::string call; std::getline(in, call, ',');)
    paths.push_back(call.substr(call.find("Load ") + 5));
  return paths;
}

TEST(SaverSlideshow, ARandomOrderIsMadeAnewAfterItsLastPicture) {
  for (const std::int16_t order : {std::int16_t{0}, std::int16_t{1}}) {
    SaverRig rig;
    rig.state.settings.PictureOrder = order;
    rig.state.settings.ChangeInterval = 1;
    std::vector<std::pair<std::string, std::optional<Image>>> files;
    for (char name = '1'; name <= '6'; ++name) {
      files.push_back({std::string("p") + name, NoiseImage(97, 61, static_cast<unsigned>(name))});
    }
    rig.UsePictures(files);
    const std::vector<std::int16_t> firstOrder = rig.state.catalogue.DisplayOrder;
    rig.saver.Form_Load();
    rig.RunUntil(12000);  // two rounds of six, and the first of a third

    const std::vector<std::string> shown = Loaded(rig.CallsMade("Load"));
    ASSERT_EQ(shown.size(), 13u) << order;
    const std::vector<std::string> first(shown.begin(), shown.begin() + 6);
    const std::vector<std::string> second(shown.begin() + 6, shown.begin() + 12);
    for (std::size_t at = 0; at < 6; ++at)
      EXPECT_EQ(first[at], files[static_cast<std::size_t>(firstOrder[at + 1] - 1)].first);
    // Each round shows every picture once.
    for (std::vector<std::string> round : {first, second}) {
      std::sort(round.begin(), round.end());
      EXPECT_EQ(round, (std::vector<std::string>{"p1", "p2", "p3", "p4", "p5", "p6"})) << order;
    }
    // In name order the rounds repeat; a random order is drawn again.
    EXPECT_EQ(first == second, order == 0) << order;
    EXPECT_EQ(rig.state.catalogue.DisplayOrder == firstOrder, order == 0) << order;
    // The third round begins with the first picture of the order made last.
    EXPECT_EQ(shown[12],
              files[static_cast<std::size_t>(rig.state.catalogue.DisplayOrder[1] - 1)].first);
  }
}

}  // namespace
}  // namespace orvel
