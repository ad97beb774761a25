#include "saver/prefetching_picture_loader.h"

#include <gtest/gtest.h>

#include <mutex>
#include <thread>

namespace orvel {
namespace {

// Decodes a picture whose colour is its path's length, noting which thread
// did the work.
class CountingLoader : public PictureLoader {
 public:
  std::optional<Image> Load(const std::string& path) override {
    std::lock_guard lock(mutex);
    ++loads;
    lastThread = std::this_thread::get_id();
    if (path == "missing") return std::nullopt;
    return Image(2, 2, static_cast<std::uint32_t>(path.size()));
  }
  std::mutex mutex;
  int loads = 0;
  std::thread::id lastThread;
};

TEST(PrefetchingPictureLoader, DecodesTheNextPictureOnAWorkerAndHandsItOverOnce) {
  CountingLoader inner;
  PrefetchingPictureLoader loader(inner);
  loader.Prefetch("abc");
  std::optional<Image> picture = loader.Load("abc");
  ASSERT_TRUE(picture.has_value());
  EXPECT_EQ(picture->At(1, 1), 3u);
  EXPECT_EQ(inner.loads, 1);
  EXPECT_NE(inner.lastThread, std::this_thread::get_id());

  // Nothing is decoded ahead any more: the next load happens here.
  EXPECT_EQ(loader.Load("abcd")->At(0, 0), 4u);
  EXPECT_EQ(inner.loads, 2);
  EXPECT_EQ(inner.lastThread, std::this_thread::get_id());
}

TEST(PrefetchingPictureLoader, AnotherPictureThanTheOneAheadIsLoadedAsAsked) {
  CountingLoader inner;
  PrefetchingPictureLoader loader(inner);
  loader.Prefetch("first");
  EXPECT_EQ(loader.Load("second-one")->At(0, 0), 10u);
  loader.Prefetch("missing");
  EXPECT_FALSE(loader.Load("missing").has_value());
  loader.Prefetch("never asked for");  // the destructor waits for the worker
}

}  // namespace
}  // namespace orvel
