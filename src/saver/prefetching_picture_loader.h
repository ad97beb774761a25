// Decodes the slideshow's pictures on worker threads, so that the frames
// never wait for a picture: the next picture is decoded ahead while the
// current one is shown, and a decode that never ends (a hostile file) is
// left behind without holding up anything, the program's end included.
#pragma once

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orvel {

class PrefetchingPictureLoader : public PictureLoader {
 public:
  // Decodes at most this many pictures at a time: the one asked for, and
  // one given up on that has not finished yet. While a picture given up on
  // is still being decoded, nothing is decoded ahead.
  static constexpr int kMaxWorkers = 2;

  // `inner` decodes; the workers share it, as one may outlive this loader.
  // `files` tells whether a file decoded ahead has changed since.
  PrefetchingPictureLoader(std::shared_ptr<PictureLoader> inner, FileSystem& files);
  // Never waits: a decode still under way finishes on its own and its
  // picture is thrown away (or the process ends around it).
  ~PrefetchingPictureLoader() override = default;

  PrefetchingPictureLoader(const PrefetchingPictureLoader&) = delete;
  PrefetchingPictureLoader& operator=(const PrefetchingPictureLoader&) = delete;

  // Decoded here, by the inner loader. A picture too large for memory is
  // one that cannot be loaded.
  std::optional<Picture> Decode(const std::string& path, const DrawnSize& drawn) override;

  // The picture decoded ahead, or still being decoded from an earlier turn,
  // when it is the one asked for and its file has not changed since (same
  // size and time of writing); otherwise decoded afresh on a worker. With no
  // worker to be had (two decodes stuck) it counts as a picture that cannot
  // be read.
  void Request(const std::string& path, const DrawnSize& drawn) override;
  bool Ready() override;
  std::optional<Picture> Take() override;
  // Starts decoding `path` once the requested picture has been taken, and
  // only when no decode is under way. The size `drawn` gives holds for the
  // Request that takes it.
  void Prefetch(const std::string& path, const DrawnSize& drawn) override;

 private:
  struct Job;
  // A decode of `path` started on a worker; nullptr when no worker can be
  // had.
  std::shared_ptr<Job> Start(const std::string& path, const DrawnSize& drawn);
  // The prefetch waiting for its turn, when no decode is under way.
  void StartAhead();
  // Nobody waits for the job any more; kept while its decode runs.
  void GiveUp(std::shared_ptr<Job> job);

  std::shared_ptr<PictureLoader> inner_;
  FileSystem& files_;
  // Decodes under way, those given up on included; shared with the workers.
  std::shared_ptr<std::atomic<int>> running_;
  std::shared_ptr<Job> requested_;  // nullptr: nothing to wait for
  std::shared_ptr<Job> ahead_;
  std::vector<std::shared_ptr<Job>> givenUp_;  // decodes still under way
  struct Next {
    std::string path;
    DrawnSize drawn;
  };
  std::optional<Next> next_;  // a prefetch not started yet
};

}  // namespace orvel
