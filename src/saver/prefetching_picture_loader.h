// Decodes the slideshow's next picture on a worker thread while the orbs
// go on moving, so that a large picture does not stall the frame in which
// it is shown.
#pragma once

#include <future>
#include <string>

#include "platform/platform.h"

namespace orvel {

class PrefetchingPictureLoader : public PictureLoader {
 public:
  explicit PrefetchingPictureLoader(PictureLoader& inner) : inner_(inner) {}
  ~PrefetchingPictureLoader() override;

  // The picture decoded ahead when it is the one asked for (waiting for the
  // worker if it is not done yet); otherwise decoded now.
  std::optional<Image> Load(const std::string& path) override;

  // Starts decoding `path` on the worker; a picture decoded ahead before and
  // not asked for is dropped.
  void Prefetch(const std::string& path) override;

 private:
  PictureLoader& inner_;
  std::string pendingPath_;
  std::future<std::optional<Image>> pending_;
};

}  // namespace orvel
