#include "saver/prefetching_picture_loader.h"

#include <new>
#include <system_error>

namespace orvel {
namespace {

// A picture too large for memory is one that cannot be loaded.
std::optional<Image> LoadOrNothing(PictureLoader& loader, const std::string& path) {
  try {
    return loader.Load(path);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace

PrefetchingPictureLoader::~PrefetchingPictureLoader() {
  if (pending_.valid()) pending_.wait();
}

std::optional<Image> PrefetchingPictureLoader::Load(const std::string& path) {
  if (pending_.valid()) {
    std::optional<Image> ahead = pending_.get();
    if (pendingPath_ == path) return ahead;
  }
  return LoadOrNothing(inner_, path);
}

void PrefetchingPictureLoader::Prefetch(const std::string& path) {
  if (pending_.valid()) pending_.wait();
  pendingPath_ = path;
  try {
    pending_ = std::async(std::launch::async, [this, path] { return LoadOrNothing(inner_, path); });
  } catch (const std::system_error&) {
    // No thread to be had: the picture is decoded when it is asked for.
  }
}

}  // namespace orvel
