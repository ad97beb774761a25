#include "settings/image_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <numeric>
#include <set>

#include "platform/headless/headless_platform.h"
#include "platform/headless/memory_file_system.h"

namespace orvel {
namespace {

constexpr std::array<std::int16_t, 4> kAllKinds = {1, 1, 1, 1};

// Passes everything to a memory file system, noting the patterns listed;
// the attribute query of one path can be made to fail, as for a file that
// vanished after the listing.
class RecordingFileSystem : public FileSystem {
 public:
  explicit RecordingFileSystem(MemoryFileSystem& inner) : inner_(inner) {}

  std::vector<std::string> listed;
  std::string vanished;

  PathStyle Style() const override { return inner_.Style(); }
  std::optional<std::vector<std::string>> ListFiles(const std::string& pattern) override {
    listed.push_back(pattern);
    return inner_.ListFiles(pattern);
  }
  bool HasEntry(const std::string& pattern) override { return inner_.HasEntry(pattern); }
  std::optional<int> Attributes(const std::string& path) override {
    if (path == vanished) return std::nullopt;
    return inner_.Attributes(path);
  }
  bool CanOpenForRead(const std::string& path) override { return inner_.CanOpenForRead(path); }
  std::optional<std::string> ReadFile(const std::string& path) override {
    return inner_.ReadFile(path);
  }
  bool ReplaceFile(const std::string& path, std::string_view bytes) override {
    return inner_.ReplaceFile(path, bytes);
  }

 private:
  MemoryFileSystem& inner_;
};

// Positions 1 to ImageCount.
std::vector<std::string> Entries(const ImageCatalogue& catalogue) {
  return {catalogue.ImageFiles.begin() + 1,
          catalogue.ImageFiles.begin() + 1 + catalogue.ImageCount};
}

std::vector<std::int16_t> Order(const ImageCatalogue& catalogue) {
  return {catalogue.DisplayOrder.begin() + 1,
          catalogue.DisplayOrder.begin() + 1 + catalogue.ImageCount};
}

ImageCatalogue WithCount(int count) {
  ImageCatalogue catalogue;
  catalogue.ImageCount = static_cast<std::int16_t>(count);
  catalogue.ImageFiles.resize(static_cast<std::size_t>(count) + 1, "x");
  return catalogue;
}

TEST(ImageCatalogue, ListsThreePassesOfTheEnabledKindsInOrder) {
  MemoryFileSystem memory(PathStyle::Windows);
  memory.AddFolder("C:\\Pics");
  RecordingFileSystem fs(memory);
  ImageCatalogue catalogue;
  BuildCatalogue(catalogue, "C:\\Pics", {1, 0, 1, 1}, fs);
  const std::vector<std::string> pass = {"C:\\Pics\\*.bmp", "C:\\Pics\\*.jpg", "C:\\Pics\\*.wmf"};
  std::vector<std::string> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), pass.begin(), pass.end());
  EXPECT_EQ(fs.listed, expected);
  EXPECT_EQ(catalogue.ScanAttribute, FileAttribute::ReadOnly);

  // Only a kind value of exactly 1 counts as enabled.
  fs.listed.clear();
  BuildCatalogue(catalogue, "C:\\Pics", {0, 2, -1, 1}, fs);
  EXPECT_EQ(fs.listed, std::vector<std::string>(3, "C:\\Pics\\*.wmf"));

  fs.listed.clear();
  catalogue = WithCount(2);
  BuildCatalogue(catalogue, "", kAllKinds, fs);
  EXPECT_TRUE(fs.listed.empty());
  EXPECT_EQ(catalogue.ImageCount, 0);
  EXPECT_EQ(catalogue.ImageFiles.size(), 1u);
}

TEST(ImageCatalogue, TakesEachAttributeClassInItsOwnPassOnly) {
  MemoryFileSystem fs(PathStyle::Windows);
  fs.AddFile("C:\\Pics\\plain.bmp");
  fs.AddFile("C:\\Pics\\archive.bmp", "", FileAttribute::Archive);
  fs.AddFile("C:\\Pics\\readonly.bmp", "", FileAttribute::ReadOnly);
  fs.AddFile("C:\\Pics\\both.bmp", "", FileAttribute::ReadOnly | FileAttribute::Archive);
  fs.AddFile("C:\\Pics\\hidden.bmp", "", FileAttribute::Hidden);
  fs.AddFile("C:\\Pics\\hiddenarchive.bmp", "", FileAttribute::Hidden | FileAttribute::Archive);
  fs.AddFile("C:\\Pics\\system.bmp", "", FileAttribute::System);
  fs.AddFolder("C:\\Pics\\folder.bmp");

  const std::map<int, std::string> taken = {{FileAttribute::Normal, "C:\\Pics\\plain.bmp"},
                                            {FileAttribute::Archive, "C:\\Pics\\archive.bmp"},
                                            {FileAttribute::ReadOnly, "C:\\Pics\\readonly.bmp"}};
  for (const auto& [attribute, path] : taken) {
    ImageCatalogue catalogue;
    ScanPattern(catalogue, "C:\\Pics\\*.bmp", attribute, fs);
    EXPECT_EQ(Entries(catalogue), std::vector<std::string>{path}) << "attribute " << attribute;
  }

  ImageCatalogue catalogue;
  BuildCatalogue(catalogue, "C:\\Pics", kAllKinds, fs);
  EXPECT_EQ(Entries(catalogue),
            (std::vector<std::string>{"C:\\Pics\\archive.bmp", "C:\\Pics\\plain.bmp",
                                      "C:\\Pics\\readonly.bmp"}));
}

TEST(ImageCatalogue, ScanKeepsListingOrderAndAppendsAfterEarlierEntries) {
  MemoryFileSystem fs(PathStyle::Windows);
  fs.AddFile("C:\\Pics\\b.bmp");
  fs.AddFile("C:\\Pics\\B.gif");
  fs.AddFile("C:\\Pics\\a.jpg");
  fs.AddFile("C:\\Pics\\c.BMP");

  ImageCatalogue catalogue;
  for (const char* pattern : kPicturePatterns) {
    ScanPattern(catalogue, std::string("C:\\Pics\\") + pattern, 0, fs);
  }
  EXPECT_EQ(Entries(catalogue), (std::vector<std::string>{"C:\\Pics\\b.bmp", "C:\\Pics\\c.BMP",
                                                          "C:\\Pics\\B.gif", "C:\\Pics\\a.jpg"}));
  EXPECT_EQ(catalogue.ImageFiles.size(), 5u);

  BuildCatalogue(catalogue, "C:\\Pics", kAllKinds, fs);
  EXPECT_EQ(Entries(catalogue), (std::vector<std::string>{"C:\\Pics\\B.gif", "C:\\Pics\\a.jpg",
                                                          "C:\\Pics\\b.bmp", "C:\\Pics\\c.BMP"}));
}

TEST(ImageCatalogue, SortsByByteValue) {
  ImageCatalogue catalogue = WithCount(7);
  catalogue.ImageFiles = {"unused",    "b.bmp", "\xC3\xA9t\xC3\xA9.bmp",
                          "a.bmp.bmp", "_.bmp", "a.bmp",
                          "Z.bmp",     "a.bmp", "leftover"};
  SortCatalogue(catalogue);
  EXPECT_EQ(catalogue.ImageFiles,
            (std::vector<std::string>{"unused", "Z.bmp", "_.bmp", "a.bmp", "a.bmp", "a.bmp.bmp",
                                      "b.bmp", "\xC3\xA9t\xC3\xA9.bmp", "leftover"}));
}

TEST(ImageCatalogue, ADisabledKindDropsOutOfTheNextBuildOnly) {
  MemoryFileSystem fs(PathStyle::Windows);
  fs.AddFile("C:\\Pics\\b.bmp");
  fs.AddFile("C:\\Pics\\B.gif");
  fs.AddFile("C:\\Pics\\a.jpg");
  fs.AddFile("C:\\Pics\\d.wmf", "", FileAttribute::Archive);
  fs.AddFile("C:\\Pics\\notes.txt");

  ImageCatalogue catalogue;
  BuildCatalogue(catalogue, "C:\\Pics", kAllKinds, fs);
  ASSERT_EQ(catalogue.ImageCount, 4);

  std::array<std::int16_t, 4> noGif = {1, 0, 1, 1};
  BuildCatalogue(catalogue, "C:\\Pics", noGif, fs);
  EXPECT_EQ(Entries(catalogue),
            (std::vector<std::string>{"C:\\Pics\\a.jpg", "C:\\Pics\\b.bmp", "C:\\Pics\\d.wmf"}));
  EXPECT_EQ(catalogue.ImageFiles.size(), 4u);

  BuildCatalogue(catalogue, "C:\\Pics", kAllKinds, fs);
  EXPECT_EQ(catalogue.ImageCount, 4);
  BuildCatalogue(catalogue, "C:\\Pics", {0, 0, 0, 0}, fs);
  EXPECT_EQ(catalogue.ImageCount, 0);
}

TEST(ImageCatalogue, ADriveRootKeepsTwoSeparatorsInPatternsAndPaths) {
  MemoryFileSystem memory(PathStyle::Windows);
  memory.AddFile("D:\\photo.jpg");
  memory.AddFile("D:\\scan.bmp", "", FileAttribute::Archive);
  RecordingFileSystem fs(memory);
  ImageCatalogue catalogue;
  BuildCatalogue(catalogue, "D:\\", {1, 0, 1, 0}, fs);
  EXPECT_EQ(fs.listed.front(), "D:\\\\*.bmp");
  EXPECT_EQ(Entries(catalogue), (std::vector<std::string>{"D:\\\\photo.jpg", "D:\\\\scan.bmp"}));

  MemoryFileSystem posix(PathStyle::Posix);
  posix.AddFile("/home/me/Pics/x.jpg");
  posix.AddFile("/home/me/Pics/sub/y.jpg");
  BuildCatalogue(catalogue, "/home/me/Pics", kAllKinds, posix);
  EXPECT_EQ(Entries(catalogue), std::vector<std::string>{"/home/me/Pics/x.jpg"});
  BuildCatalogue(catalogue, "/home/me/Pics/", kAllKinds, posix);
  EXPECT_EQ(Entries(catalogue), std::vector<std::string>{"/home/me/Pics//x.jpg"});
}

TEST(ImageCatalogue, FailuresEndOnlyTheAffectedPatternSilently) {
  MemoryFileSystem memory(PathStyle::Windows);
  memory.AddFile("C:\\Locked\\a.bmp");
  memory.SetUnlistable("C:\\Locked");
  ImageCatalogue catalogue = WithCount(3);
  BuildCatalogue(catalogue, "C:\\Locked", kAllKinds, memory);
  EXPECT_EQ(catalogue.ImageCount, 0);
  BuildCatalogue(catalogue, "C:\\Missing", kAllKinds, memory);
  EXPECT_EQ(catalogue.ImageCount, 0);

  // A file gone between the listing and its attribute query ends that
  // pattern; the names before it stay and the other kinds still scan.
  memory.AddFile("C:\\Pics\\a.bmp");
  memory.AddFile("C:\\Pics\\b.bmp");
  memory.AddFile("C:\\Pics\\c.bmp");
  memory.AddFile("C:\\Pics\\d.gif");
  RecordingFileSystem fs(memory);
  fs.vanished = "C:\\Pics\\b.bmp";
  BuildCatalogue(catalogue, "C:\\Pics", kAllKinds, fs);
  EXPECT_EQ(Entries(catalogue), (std::vector<std::string>{"C:\\Pics\\a.bmp", "C:\\Pics\\d.gif"}));
}

TEST(ImageCatalogue, StopsAt32767EntriesKeepingTheEarlierPasses) {
  MemoryFileSystem fs(PathStyle::Windows);
  fs.AddFile("C:\\Pics\\zz.bmp");    // pass 1, first kind
  for (int i = 0; i < 32768; ++i) {  // pass 1, second kind
    fs.AddFile("C:\\Pics\\g" + std::to_string(i) + ".gif");
  }
  fs.AddFile("C:\\Pics\\aa.bmp", "", FileAttribute::Archive);  // pass 2: no room left

  ImageCatalogue catalogue;
  BuildCatalogue(catalogue, "C:\\Pics", kAllKinds, fs);
  ASSERT_EQ(catalogue.ImageCount, kMaxImages);
  std::vector<std::string> entries = Entries(catalogue);
  EXPECT_TRUE(std::is_sorted(entries.begin(), entries.end()));
  EXPECT_EQ(entries.back(), "C:\\Pics\\zz.bmp");
  EXPECT_FALSE(std::binary_search(entries.begin(), entries.end(), "C:\\Pics\\aa.bmp"));
  EXPECT_EQ(std::set<std::string>(entries.begin(), entries.end()).size(), entries.size());
  EXPECT_EQ(catalogue.ImageFiles.size(), static_cast<std::size_t>(kMaxImages) + 1);
}

TEST(ImageCatalogue, SequentialOrderIsThePositionsInTurn) {
  Random random(1);
  FakeClock clock;
  ImageCatalogue catalogue = WithCount(5);
  BuildDisplayOrder(catalogue, 0, random, clock);
  ASSERT_GE(catalogue.DisplayOrder.size(), 6u);
  EXPECT_EQ(Order(catalogue), (std::vector<std::int16_t>{1, 2, 3, 4, 5}));

  // A walk through the order rebuilds it in place.
  std::reverse(catalogue.DisplayOrder.begin() + 1, catalogue.DisplayOrder.end());
  BuildDisplayOrder(catalogue, 0, random, clock);
  EXPECT_EQ(Order(catalogue), (std::vector<std::int16_t>{1, 2, 3, 4, 5}));

  ImageCatalogue one = WithCount(1);
  BuildDisplayOrder(one, 1, random, clock);
  EXPECT_EQ(Order(one), std::vector<std::int16_t>{1});
}

TEST(ImageCatalogue, RandomOrderMakesEveryPermutationEquallyLikely) {
  Random random(20240611);
  FakeClock clock;
  ImageCatalogue catalogue = WithCount(3);
  std::map<std::vector<std::int16_t>, int> seen;
  constexpr int kDraws = 60000;
  for (int i = 0; i < kDraws; ++i) {
    BuildDisplayOrder(catalogue, 1, random, clock);
    ++seen[Order(catalogue)];
  }
  ASSERT_EQ(seen.size(), 6u);
  double chiSquare = 0;
  for (const auto& [order, count] : seen) {
    std::vector<std::int16_t> sorted = order;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (std::vector<std::int16_t>{1, 2, 3}));
    double expected = kDraws / 6.0;
    chiSquare += (count - expected) * (count - expected) / expected;
  }
  // Five degrees of freedom: 20.5 is exceeded with a chance of one in 1000.
  EXPECT_LT(chiSquare, 20.5);
  // Each order re-seeded from the clock once.
  EXPECT_EQ(clock.nextSeed, static_cast<std::uint64_t>(kDraws) + 1);
}

TEST(ImageCatalogue, RandomOrderPlacesEveryPictureFirstAsOften) {
  Random random(7);
  FakeClock clock;
  ImageCatalogue catalogue = WithCount(8);
  std::array<int, 9> first{};
  constexpr int kDraws = 40000;
  for (int i = 0; i < kDraws; ++i) {
    BuildDisplayOrder(catalogue, 1, random, clock);
    ++first.at(static_cast<std::size_t>(catalogue.DisplayOrder[1]));
  }
  double chiSquare = 0;
  for (int p = 1; p <= 8; ++p) {
    double expected = kDraws / 8.0;
    chiSquare += (first[p] - expected) * (first[p] - expected) / expected;
  }
  EXPECT_EQ(first[0], 0);
  // Seven degrees of freedom, one chance in 1000.
  EXPECT_LT(chiSquare, 24.3);
}

// A clock that never moves, as when orders are built within one tick.
class StoppedClock : public Clock {
 public:
  std::int64_t MonotonicMs() override { return 0; }
  std::uint64_t SeedFromTime() override { return 42; }
};

TEST(ImageCatalogue, RandomOrderOfManyPicturesIsAPermutation) {
  Random random(3);
  StoppedClock clock;
  for (int count : {2, 1000, kMaxImages}) {
    ImageCatalogue catalogue = WithCount(count);
    BuildDisplayOrder(catalogue, 1, random, clock);
    ASSERT_EQ(catalogue.DisplayOrder.size(), static_cast<std::size_t>(count) + 1);
    std::vector<std::int16_t> first = Order(catalogue);
    std::vector<std::int16_t> sorted = first;
    std::sort(sorted.begin(), sorted.end());
    std::vector<std::int16_t> positions(static_cast<std::size_t>(count));
    std::iota(positions.begin(), positions.end(), std::int16_t{1});
    EXPECT_EQ(sorted, positions) << count << " pictures";
    if (count < 1000) continue;
    // The clock has not moved, yet the next order is another one.
    BuildDisplayOrder(catalogue, 1, random, clock);
    EXPECT_NE(Order(catalogue), first) << count << " pictures";
    EXPECT_NE(first, positions) << count << " pictures";
  }
}

TEST(ImageCatalogue, FolderExistsForAnyListableFolder) {
  MemoryFileSystem fs(PathStyle::Windows);
  fs.AddFolder("C:\\Empty");
  fs.AddFile("C:\\Pics\\a.bmp");
  EXPECT_TRUE(FolderExists("C:\\Empty", fs));
  EXPECT_TRUE(FolderExists("C:\\Empty\\", fs));
  EXPECT_TRUE(FolderExists("C:\\Empty   ", fs));
  EXPECT_TRUE(FolderExists("C:\\Pics", fs));
  EXPECT_FALSE(FolderExists("C:\\Pics\\a.bmp", fs));
  EXPECT_FALSE(FolderExists("C:\\Missing", fs));
  fs.SetUnlistable("C:\\Pics");
  EXPECT_FALSE(FolderExists("C:\\Pics", fs));

  MemoryFileSystem posix(PathStyle::Posix);
  posix.AddFolder("/home/me/Pictures");
  EXPECT_TRUE(FolderExists("/home/me/Pictures", posix));
  EXPECT_TRUE(FolderExists("/home/me/Pictures/", posix));
  EXPECT_FALSE(FolderExists("/home/me/Music", posix));
}

}  // namespace
}  // namespace orvel
