#include "saver/prefetching_picture_loader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <map>
#include <mutex>
#include <set>
#include <thread>

#include "platform/headless/memory_file_system.h"

namespace orvel {
namespace {

using namespace std::chrono_literals;

// Holds back decodes until opened by the test, or for ten seconds at most (so that a loader
// waiting for a held decode fails the test instead of hanging it).
class Gate {
 public:
  void Wait() {
    std::unique_lock lock(mutex_);
    if (!changed_.wait_for(lock, 10s, [this] { return open_; })) timedOut_ = true;
  }
  void Open() {
    std::lock_guard lock(mutex_);
    open_ = true;
    changed_.notify_all();
  }
  bool TimedOut() {
    std::lock_guard lock(mutex_);
    return timedOut_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  bool open_ = false, timedOut_ = false;
};

// Decodes a 1 x 1 picture of the file's first byte (or, without files, the path's length); the
// paths in `held` only once the gate opens. Notes which thread decoded what.
struct TestLoader : PictureLoader {
  explicit TestLoader(FileSystem* fileSystem = nullptr) : files(fileSystem) {}

  std::optional<Picture> Decode(const std::string& path, const DrawnSize& drawn) override {
    if (held.contains(path)) gate.Wait();
    std::uint32_t value = static_cast<std::uint32_t>(path.size());
    if (files != nullptr) {
      const std::optional<std::string> bytes = files->ReadFile(path, 1 << 20);
      if (!bytes || bytes->empty()) return Note(path, std::nullopt);
      value = static_cast<unsigned char>(bytes->front());
    }
    const PixelSize own{100, 50};
    return Note(path, Picture{Image(1, 1, value), drawn ? drawn(own) : own});
  }

  std::optional<Picture> Note(const std::string& path, std::optional<Picture> picture) {
    std::lock_guard lock(mutex);
    decoded[path].push_back(std::this_thread::get_id());
    done.notify_all();
    return picture;
  }
  // Waits until `path` has been decoded `times` times in all.
  void AwaitDecoded(const std::string& path, std::size_t times = 1) {
    std::unique_lock lock(mutex);
    EXPECT_TRUE(done.wait_for(lock, 10s, [&] { return decoded[path].size() >= times; }))
        << path << " was never decoded";
  }
  std::size_t Decoded(const std::string& path) {
    std::lock_guard lock(mutex);
    return decoded[path].size();
  }

  FileSystem* files;
  std::set<std::string> held;
  Gate gate;
  std::mutex mutex;
  std::condition_variable done;
  std::map<std::string, std::vector<std::thread::id>> decoded;
};

// Waits until `done`, at most ten seconds, so that a decode that never comes fails the test.
template <typename Done>
void WaitUntil(Done done, const char* what) {
  const auto deadline = std::chrono::steady_clock::now() + 10s;
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) FAIL() << what << " never came";
    std::this_thread::sleep_for(1ms);
  }
}

// The loader's picture once it is ready (never given up on here).
std::optional<Picture> TakeWhenReady(PictureLoader& loader) {
  WaitUntil([&] { return loader.Ready(); }, "the picture asked for");
  return loader.Take();
}

// Reads `path` ahead until decoded: a worker given up on may still run, and blocks reading ahead.
void ReadAhead(PictureLoader& loader, TestLoader& inner, const std::string& path) {
  const std::size_t before = inner.Decoded(path);
  WaitUntil([&] { return loader.Prefetch(path, {}), inner.Decoded(path) > before; },
            "the picture read ahead");
}

std::uint32_t PixelOf(const std::optional<Picture>& picture) {
  return picture ? picture->pixels.At(0, 0) : 0xDEAD;
}

TEST(PrefetchingPictureLoader, DecodesOnAWorkerAndUsesThePictureReadAheadOnce) {
  auto inner = std::make_shared<TestLoader>();
  MemoryFileSystem files(PathStyle::Windows);
  PrefetchingPictureLoader loader(inner, files);
  const DrawnSize half = [](PixelSize own) { return PixelSize{own.width / 2, own.height / 2}; };

  loader.Request("abc", half);
  const std::optional<Picture> first = TakeWhenReady(loader);
  EXPECT_EQ(PixelOf(first), 3u);
  EXPECT_EQ(first->size, (PixelSize{50, 25}));
  EXPECT_NE(inner->decoded["abc"].at(0), std::this_thread::get_id());

  // Read ahead, then handed over without a second decode.
  loader.Prefetch("abcd", half);
  inner->AwaitDecoded("abcd");
  loader.Request("abcd", {});
  const std::optional<Picture> second = TakeWhenReady(loader);
  EXPECT_EQ(PixelOf(second), 4u);
  EXPECT_EQ(second->size, (PixelSize{50, 25}));
  EXPECT_EQ(inner->Decoded("abcd"), 1u);

  // Another picture than the one read ahead is decoded as asked.
  ReadAhead(loader, *inner, "first");
  loader.Request("second-one", {});
  EXPECT_EQ(PixelOf(TakeWhenReady(loader)), 10u);
  loader.Request("first", {});
  EXPECT_EQ(PixelOf(TakeWhenReady(loader)), 5u);
  EXPECT_EQ(inner->Decoded("first"), 2u);
}

TEST(PrefetchingPictureLoader, NeverWaitsForADecodeThatDoesNotEndAndStartsNoMoreThanTwo) {
  auto inner = std::make_shared<TestLoader>();
  inner->held = {"stuck.wmf", "stuck-too.wmf"};
  {
    MemoryFileSystem files(PathStyle::Windows);
    PrefetchingPictureLoader loader(inner, files);
    loader.Request("stuck.wmf", {});
    EXPECT_FALSE(loader.Ready());
    EXPECT_FALSE(loader.Take());      // given up on: nothing comes, at once
    loader.Request("stuck.wmf", {});  // waits for the same decode rather than start another
    EXPECT_FALSE(loader.Ready());
    EXPECT_FALSE(loader.Take());
    // Nothing is read ahead while a decode is stuck, but the next picture is decoded beside it.
    loader.Prefetch("ahead", {});
    loader.Request("next", {});
    EXPECT_EQ(PixelOf(TakeWhenReady(loader)), 4u);

    // A second stuck decode: no worker is left, and a picture asked for is unreadable at once.
    loader.Request("stuck-too.wmf", {});
    EXPECT_FALSE(loader.Take());
    loader.Request("third", {});
    EXPECT_TRUE(loader.Ready());
    EXPECT_FALSE(loader.Take());
  }  // the loader goes while both decodes are stuck
  EXPECT_FALSE(inner->gate.TimedOut());
  inner->gate.Open();
  inner->AwaitDecoded("stuck.wmf");
  inner->AwaitDecoded("stuck-too.wmf");
  EXPECT_EQ(inner->Decoded("ahead"), 0u);
  EXPECT_EQ(inner->Decoded("third"), 0u);
}

TEST(PrefetchingPictureLoader, DecodesAgainAFileReplacedSinceItWasReadAheadAndFindsAGoneOne) {
  MemoryFileSystem files(PathStyle::Windows);
  auto inner = std::make_shared<TestLoader>(&files);
  PrefetchingPictureLoader loader(inner, files);
  const std::string a = "C:\\Pics\\a.jpg", b = "C:\\Pics\\b.jpg", c = "C:\\Pics\\c.jpg";
  files.AddFile(a, "aaa");
  files.AddFile(b, "bbbb");
  files.AddFile(c, "ccccc");

  // Replaced by a larger file.
  ReadAhead(loader, *inner, a);
  files.AddFile(a, "Aaaaaaa");
  loader.Request(a, {});
  EXPECT_EQ(PixelOf(TakeWhenReady(loader)), std::uint32_t{'A'});

  // Written again at the same size.
  ReadAhead(loader, *inner, b);
  ASSERT_TRUE(files.ReplaceFile(b, "BBBB"));
  loader.Request(b, {});
  EXPECT_EQ(PixelOf(TakeWhenReady(loader)), std::uint32_t{'B'});

  // Deleted: black, as for any file that is gone.
  ReadAhead(loader, *inner, c);
  files.RemoveFile(c);
  loader.Request(c, {});
  EXPECT_FALSE(TakeWhenReady(loader));

  // Untouched: the picture read ahead (a's third decode), not a fourth.
  ReadAhead(loader, *inner, a);
  loader.Request(a, {});
  EXPECT_EQ(PixelOf(TakeWhenReady(loader)), std::uint32_t{'A'});
  EXPECT_EQ(inner->Decoded(a), 3u);
}

}  // namespace
}  // namespace orvel
