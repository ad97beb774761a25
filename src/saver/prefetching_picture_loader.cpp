#include "saver/prefetching_picture_loader.h"

namespace orvel {

PrefetchingPictureLoader::~PrefetchingPictureLoader() {
  if (pending_.valid()) pending_.wait();
}

std::optional<Image> PrefetchingPictureLoader::Load(const std::string& path) {
  if (pending_.valid()) {
    std::optional<Image> ahead = pending_.get();
    if (pendingPath_ == path) return ahead;
  }
  return inner_.Load(path);
}

void PrefetchingPictureLoader::Prefetch(const std::string& path) {
  if (pending_.valid()) pending_.wait();
  pendingPath_ = path;
  pending_ = std::async(std::launch::async, [this, path] { return inner_.Load(path); });
}

}  // namespace orvel
