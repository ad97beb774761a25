#include "saver/prefetching_picture_loader.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>
#include <vector>

namespace orvel {
namespace {

// Decodes a 1 x 1 picture of its path's length, noting which thread did it.
struct ThreadNotingLoader : PictureLoader {
  std::optional<Image> Load(const std::string& path) override {
    std::lock_guard lock(mutex);
    threads.push_back(std::this_thread::get_id());
    return Image(1, 1, static_cast<std::uint32_t>(path.size()));
  }
  std::mutex mutex;
  std::vector<std::thread::id> threads;
};

TEST(PrefetchingPictureLoader, HandsOverThePictureDecodedOnAWorkerOnce) {
  ThreadNotingLoader inner;
  PrefetchingPictureLoader loader(inner);
  loader.Prefetch("abc");
  EXPECT_EQ(loader.Load("abc")->At(0, 0), 3u);
  // Nothing is ahead any more: decoded here.
  EXPECT_EQ(loader.Load("abcd")->At(0, 0), 4u);
  EXPECT_EQ(inner.threads.size(), 2u);
  EXPECT_NE(inner.threads[0], std::this_thread::get_id());
  EXPECT_EQ(inner.threads[1], std::this_thread::get_id());
  // Another picture than the one ahead is loaded as asked.
  loader.Prefetch("first");
  EXPECT_EQ(loader.Load("second-one")->At(0, 0), 10u);
}

}  // namespace
}  // namespace orvel
