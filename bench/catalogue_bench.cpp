// The picture catalogue at its largest: a folder of 32,767 pictures.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <numeric>
#include <random>

#include "platform/headless/headless_platform.h"
#include "platform/headless/memory_file_system.h"
#include "platform/linux/system/linux_platform.h"
#include "settings/image_catalogue.h"

namespace orvel {
namespace {

// A folder whose pictures are listed in no particular name order, so that
// the sort has work to do.
MemoryFileSystem& FullFolder() {
  static MemoryFileSystem files = [] {
    MemoryFileSystem fs(PathStyle::Windows);
    std::vector<int> numbers(kMaxImages);
    std::iota(numbers.begin(), numbers.end(), 0);
    std::shuffle(numbers.begin(), numbers.end(), std::mt19937(2024));
    const char* kinds[] = {"bmp", "gif", "jpg", "wmf"};
    for (int number : numbers) {
      fs.AddFile("C:\\Pictures\\Holiday\\IMG_" + std::to_string(number) + "." + kinds[number % 4],
                 "", number % 3 == 0 ? FileAttribute::Archive : FileAttribute::Normal);
    }
    return fs;
  }();
  return files;
}

void BM_BuildCatalogue(benchmark::State& state) {
  MemoryFileSystem& files = FullFolder();
  ImageCatalogue catalogue;
  for (auto _ : state) {
    BuildCatalogue(catalogue, "C:\\Pictures\\Holiday", {1, 1, 1, 1}, files);
    benchmark::DoNotOptimize(catalogue.ImageFiles.data());
  }
  if (catalogue.ImageCount != kMaxImages) state.SkipWithError("not every picture was found");
}
BENCHMARK(BM_BuildCatalogue)->Unit(benchmark::kMillisecond);

// The same on disk: a real folder of 32,767 empty pictures, listed, checked
// and sorted through the Linux file system.
void BM_BuildCatalogueOnDisk(benchmark::State& state) {
  namespace fs = std::filesystem;
  const fs::path folder = fs::temp_directory_path() / "orvel-catalogue-bench";
  fs::remove_all(folder);
  fs::create_directories(folder);
  std::vector<int> numbers(kMaxImages);
  std::iota(numbers.begin(), numbers.end(), 0);
  std::shuffle(numbers.begin(), numbers.end(), std::mt19937(2024));
  const char* kinds[] = {"bmp", "gif", "JPG", "wmf"};
  for (int number : numbers) {
    std::ofstream(folder / ("IMG_" + std::to_string(number) + "." + kinds[number % 4]));
  }
  LinuxFileSystem files;
  ImageCatalogue catalogue;
  for (auto _ : state) {
    BuildCatalogue(catalogue, folder.string(), {1, 1, 1, 1}, files);
    benchmark::DoNotOptimize(catalogue.ImageFiles.data());
  }
  if (catalogue.ImageCount != kMaxImages) state.SkipWithError("not every picture was found");
  fs::remove_all(folder);
}
BENCHMARK(BM_BuildCatalogueOnDisk)->Unit(benchmark::kMillisecond);

void BM_SortCatalogue(benchmark::State& state) {
  ImageCatalogue shuffled;
  BuildCatalogue(shuffled, "C:\\Pictures\\Holiday", {1, 1, 1, 1}, FullFolder());
  std::shuffle(shuffled.ImageFiles.begin() + 1, shuffled.ImageFiles.end(), std::mt19937(7));
  ImageCatalogue catalogue;
  for (auto _ : state) {
    state.PauseTiming();
    catalogue = shuffled;
    state.ResumeTiming();
    SortCatalogue(catalogue);
    benchmark::DoNotOptimize(catalogue.ImageFiles.data());
  }
}
BENCHMARK(BM_SortCatalogue)->Unit(benchmark::kMillisecond);

void BM_BuildDisplayOrderRandom(benchmark::State& state) {
  ImageCatalogue catalogue;
  catalogue.ImageCount = kMaxImages;
  Random random(1);
  FakeClock clock;
  for (auto _ : state) {
    BuildDisplayOrder(catalogue, 1, random, clock);
    benchmark::DoNotOptimize(catalogue.DisplayOrder.data());
  }
}
BENCHMARK(BM_BuildDisplayOrderRandom)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace orvel
