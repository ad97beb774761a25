#include "settings/image_catalogue.h"

#include <algorithm>
#include <numeric>
#include <utility>

#include "settings/paths.h"

namespace orvel {
namespace {

// The three scan passes: no attribute, archive only, read-only only.
constexpr std::array<int, 3> kPassAttributes = {FileAttribute::Normal, FileAttribute::Archive,
                                                FileAttribute::ReadOnly};

std::size_t Count(const ImageCatalogue& catalogue) {
  return catalogue.ImageCount > 0 ? static_cast<std::size_t>(catalogue.ImageCount) : 0;
}

// The patterns of the four picture kinds, in scan order.
constexpr std::array<const char*, 4> kPicturePatterns = {"*.bmp", "*.gif", "*.jpg", "*.wmf"};

}  // namespace

void BuildCatalogue(ImageCatalogue& catalogue, const std::string& folder,
                    const std::array<std::int16_t, 4>& kinds, FileSystem& files) {
  catalogue.ImageCount = 0;
  catalogue.ImageFiles.assign(1, std::string());
  if (folder.empty()) return;

  // The folder text is used as stored: a drive root that already ends in a
  // separator gives two in a row, and the scan keeps them in its paths.
  const std::string base = folder + Separator(files.Style());
  for (int attribute : kPassAttributes) {
    catalogue.ScanAttribute = static_cast<std::int16_t>(attribute);
    for (std::size_t kind = 0; kind < kinds.size(); ++kind) {
      if (kinds[kind] != 1) continue;
      ScanPattern(catalogue, base + kPicturePatterns[kind], catalogue.ScanAttribute, files);
    }
  }
  if (catalogue.ImageCount > 1) SortCatalogue(catalogue);
}

void ScanPattern(ImageCatalogue& catalogue, const std::string& pattern, int attribute,
                 FileSystem& files) {
  const PathStyle style = files.Style();
  const std::string prefix = FolderPart(pattern, style) + Separator(style);
  std::optional<std::vector<std::string>> names = files.ListFiles(pattern);
  if (!names) return;

  // Positions past ImageCount are leftovers of an earlier build.
  catalogue.ImageFiles.resize(Count(catalogue) + 1);
  for (const std::string& name : *names) {
    std::string path = prefix + name;
    std::optional<int> found = files.Attributes(path);
    // A file that vanished since the listing ends this pattern's scan, as
    // any other error does; what was found so far stays.
    if (!found) return;
    if (*found != attribute) continue;
    if (catalogue.ImageCount >= kMaxImages) return;
    ++catalogue.ImageCount;
    catalogue.ImageFiles.push_back(std::move(path));
  }
}

void SortCatalogue(ImageCatalogue& catalogue) {
  // Byte order, no locale: upper case before lower case, a prefix first.
  // std::string compares its characters as unsigned bytes. Equal texts
  // cannot be told apart, so any sort gives the result of the exchange sort
  // the catalogue has always been sorted with, without its n² comparisons.
  if (catalogue.ImageFiles.empty()) return;
  const std::size_t count = std::min(Count(catalogue), catalogue.ImageFiles.size() - 1);
  std::sort(catalogue.ImageFiles.begin() + 1,
            catalogue.ImageFiles.begin() + 1 + static_cast<std::ptrdiff_t>(count));
}

void BuildDisplayOrder(ImageCatalogue& catalogue, std::int16_t pictureOrder, Random& random,
                       Clock& clock) {
  const std::size_t count = Count(catalogue);
  if (catalogue.DisplayOrder.size() < count + 1) catalogue.DisplayOrder.resize(count + 1, 0);

  auto order = catalogue.DisplayOrder.begin() + 1;
  std::iota(order, order + static_cast<std::ptrdiff_t>(count), std::int16_t{1});
  if (pictureOrder == 0) return;

  // Fisher-Yates from the top: each position i takes one of the i values
  // still unplaced, chosen uniformly, so every permutation is equally
  // likely. One re-seed per order keeps successive orders apart even when
  // the clock has not moved.
  random.Reseed(clock.SeedFromTime());
  for (std::size_t i = count; i > 1; --i) {
    const int pick = random.Below(static_cast<int>(i));
    std::swap(catalogue.DisplayOrder[i],
              catalogue.DisplayOrder[static_cast<std::size_t>(pick) + 1]);
  }
}

bool FolderExists(const std::string& path, FileSystem& files) {
  return files.HasEntry(AddBackslash(path, files.Style()) + "*.*");
}

}  // namespace orvel
