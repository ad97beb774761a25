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
  // worker if it is not done yet); otherwise, once the worker is done with
  // the picture nobody asked for, decoded here. The saver always asks for the
  // picture it announced, so in its hands neither wait holds up a frame.
  std::optional<Image> Load(const std::string& path) override;

  // Starts decoding `path` on the worker, after waiting for any decode still
  // under way. A picture that cannot be decoded (out of memory included)
  // comes back as nullopt, as from the loader itself.
  void Prefetch(const std::string& path) override;

 private:
  PictureLoader& inner_;
  std::string pendingPath_;
  std::future<std::optional<Image>> pending_;
};

}  // namespace orvel
