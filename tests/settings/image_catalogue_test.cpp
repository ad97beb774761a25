#include "settings/image_catalogue.h"

#include <gtest/gtest.h>

#include <cmath>
#include <map>

#include "platform/headless/headless_platform.h"
#include "platform/headless/memory_file_system.h"

namespace orvel {
namespace {

constexpr std::array<std::int16_t, 4> kAllKinds = {1, 1, 1, 1};

TEST(ImageCatalogue, ListsThreeAttributeClassesInPassesAndSortsByByteValue) {
  MemoryFileSystem fs(PathStyle::Windows);
  for (std::string name : {"b.bmp", "B.gif", "a.jpg", "\xC3\xA9.bmp"}) fs.AddFile("D:\\" + name);
  fs.AddFile("D:\\archive.wmf", "", FileAttribute::Archive);
  fs.AddFile("D:\\readonly.bmp", "", FileAttribute::ReadOnly);
  fs.AddFile("D:\\both.bmp", "", FileAttribute::ReadOnly | FileAttribute::Archive);
  // The folder is used as stored: a drive root gives two separators.
  ImageCatalogue catalogue;
  BuildCatalogue(catalogue, "D:\\", kAllKinds, fs);
  EXPECT_EQ(catalogue.ImageFiles,
            (std::vector<std::string>{"", "D:\\\\B.gif", "D:\\\\a.jpg", "D:\\\\archive.wmf",
                                      "D:\\\\b.bmp", "D:\\\\readonly.bmp", "D:\\\\\xC3\xA9.bmp"}));

  // A disabled kind drops out of the next build, leaving nothing behind.
  BuildCatalogue(catalogue, "D:\\", {1, 2, 1, 1}, fs);  // only 1 enables a kind
  EXPECT_EQ(catalogue.ImageFiles,
            (std::vector<std::string>{"", "D:\\\\a.jpg", "D:\\\\archive.wmf", "D:\\\\b.bmp",
                                      "D:\\\\readonly.bmp", "D:\\\\\xC3\xA9.bmp"}));

  fs.AddFile("C:\\Locked\\a.bmp");
  fs.SetUnlistable("C:\\Locked");
  BuildCatalogue(catalogue, "C:\\Locked", kAllKinds, fs);
  EXPECT_EQ(catalogue.ImageCount, 0);
}

TEST(ImageCatalogue, StopsAt32767EntriesKeepingTheEarlierPasses) {
  MemoryFileSystem fs(PathStyle::Windows);
  fs.AddFile("C:\\P\\zz.bmp");  // pass 1
  for (int i = 0; i < 32765; ++i) fs.AddFile("C:\\P\\g" + std::to_string(i) + ".gif");
  fs.AddFile("C:\\P\\aa.bmp", "", FileAttribute::Archive);   // pass 2: the last room
  fs.AddFile("C:\\P\\ab.bmp", "", FileAttribute::ReadOnly);  // pass 3: no room left
  ImageCatalogue catalogue;
  BuildCatalogue(catalogue, "C:\\P", kAllKinds, fs);
  ASSERT_EQ(catalogue.ImageCount, kMaxImages);
  EXPECT_EQ(catalogue.ImageFiles[1], "C:\\P\\aa.bmp");
  EXPECT_EQ(catalogue.ImageFiles[2], "C:\\P\\g0.gif");
  EXPECT_EQ(catalogue.ImageFiles.back(), "C:\\P\\zz.bmp");
}

TEST(ImageCatalogue, DisplayOrderIsInTurnOrAUniformlyRandomPermutation) {
  Random random(20240611);
  FakeClock clock;
  ImageCatalogue catalogue;
  catalogue.ImageCount = 3;
  catalogue.DisplayOrder = {0, 3, 1, 2, 9};  // rebuilt in place
  BuildDisplayOrder(catalogue, 0, random, clock);
  EXPECT_EQ(catalogue.DisplayOrder, (std::vector<std::int16_t>{0, 1, 2, 3, 9}));

  std::map<std::vector<std::int16_t>, int> seen;
  constexpr int kDraws = 60000;
  for (int i = 0; i < kDraws; ++i) {
    BuildDisplayOrder(catalogue, 1, random, clock);
    ++seen[catalogue.DisplayOrder];
  }
  ASSERT_EQ(seen.size(), 6u);
  constexpr double kExpected = kDraws / 6.0;
  double chiSquare = 0;
  for (const auto& [order, count] : seen) chiSquare += std::pow(count - kExpected, 2) / kExpected;
  // Five degrees of freedom: 20.5 is exceeded with a chance of one in 1000.
  EXPECT_LT(chiSquare, 20.5);
  EXPECT_EQ(clock.nextSeed, static_cast<std::uint64_t>(kDraws) + 1);  // one re-seed per order
}

}  // namespace
}  // namespace orvel
