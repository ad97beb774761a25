#include "saver/prefetching_picture_loader.h"

#include <algorithm>
#include <exception>
#include <functional>
#include <mutex>
#include <new>
#include <thread>
#include <utility>

namespace orvel {

struct PrefetchingPictureLoader::Job {
  std::string path;
  std::optional<FileStamp> stamp;  // the file as it was when the decode began
  std::optional<Picture> picture;  // written by the worker before `done`
  std::atomic<bool> done{false};
};

namespace {

// A picture too large for memory is one that cannot be loaded.
std::optional<Picture> DecodeOrNothing(PictureLoader& loader, const std::string& path,
                                       const DrawnSize& drawn) {
  try {
    return loader.Decode(path, drawn);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

// The workers' threads, for the whole process. A thread is joined once its
// work is over and never detached: MinGW's thread library can give the record
// of a thread detached as it ends to two new threads, and the work of one of
// them then never runs, so its picture never comes. Never destroyed, as a
// decode that never ends is never joined.
class Workers {
 public:
  static Workers& All() {
    static Workers* const all = new Workers;
    return *all;
  }

  // Runs `work` on a thread of its own; throws std::system_error when no
  // thread can be had.
  void Run(std::function<void()> work) {
    std::lock_guard lock(mutex_);
    std::erase_if(threads_, [](Worker& worker) {
      if (!worker.over->load(std::memory_order_acquire)) return false;
      worker.thread.join();  // at most the moment its thread takes to end
      return true;
    });
    threads_.reserve(threads_.size() + 1);
    auto over = std::make_shared<std::atomic<bool>>(false);
    threads_.push_back({std::thread([work = std::move(work), over] {
                          work();
                          over->store(true, std::memory_order_release);
                        }),
                        over});
  }

 private:
  struct Worker {
    std::thread thread;
    std::shared_ptr<std::atomic<bool>> over;
  };
  std::mutex mutex_;
  std::vector<Worker> threads_;
};

}  // namespace

PrefetchingPictureLoader::PrefetchingPictureLoader(std::shared_ptr<PictureLoader> inner,
                                                   FileSystem& files)
    : inner_(std::move(inner)), files_(files), running_(std::make_shared<std::atomic<int>>(0)) {}

std::optional<Picture> PrefetchingPictureLoader::Decode(const std::string& path,
                                                        const DrawnSize& drawn) {
  return DecodeOrNothing(*inner_, path, drawn);
}

std::shared_ptr<PrefetchingPictureLoader::Job> PrefetchingPictureLoader::Start(
    const std::string& path, const DrawnSize& drawn) {
  if (running_->load() >= kMaxWorkers) return nullptr;
  auto job = std::make_shared<Job>();
  job->path = path;
  job->stamp = files_.Stamp(path);
  running_->fetch_add(1);
  try {
    // The worker holds what it uses, so that it may outlive this loader.
    Workers::All().Run([inner = inner_, running = running_, job, drawn] {
      job->picture = DecodeOrNothing(*inner, job->path, drawn);
      // Counted out before it shows as done: whoever sees the job done sees
      // its worker gone.
      running->fetch_sub(1);
      job->done.store(true, std::memory_order_release);
    });
  } catch (const std::exception&) {  // no thread, or no memory for one
    running_->fetch_sub(1);
    return nullptr;
  }
  return job;
}

void PrefetchingPictureLoader::GiveUp(std::shared_ptr<Job> job) {
  if (job && !job->done.load(std::memory_order_acquire)) givenUp_.push_back(std::move(job));
}

void PrefetchingPictureLoader::Request(const std::string& path, const DrawnSize& drawn) {
  // A picture still being decoded for an earlier request is given up on,
  // and so is one decoded ahead that is not this one.
  GiveUp(std::exchange(requested_, nullptr));
  next_.reset();
  std::erase_if(givenUp_, [](const auto& job) { return job->done.load(); });
  const std::optional<FileStamp> stamp = files_.Stamp(path);
  auto same = [&](const std::shared_ptr<Job>& job) {
    return job && job->path == path && job->stamp == stamp;
  };
  std::shared_ptr<Job> ahead = std::exchange(ahead_, nullptr);
  if (same(ahead)) {
    requested_ = std::move(ahead);
    return;
  }
  GiveUp(std::move(ahead));
  // The same file still being decoded from an earlier turn (a slow or a
  // hostile one) is waited for again rather than decoded twice at once.
  const auto earlier = std::find_if(givenUp_.begin(), givenUp_.end(), same);
  if (earlier != givenUp_.end()) {
    requested_ = std::move(*earlier);
    givenUp_.erase(earlier);
    return;
  }
  requested_ = Start(path, drawn);
  // No worker: nothing to wait for, and nothing to take.
}

bool PrefetchingPictureLoader::Ready() {
  return !requested_ || requested_->done.load(std::memory_order_acquire);
}

std::optional<Picture> PrefetchingPictureLoader::Take() {
  std::optional<Picture> picture;
  if (Ready() && requested_) picture = std::move(requested_->picture);
  GiveUp(std::exchange(requested_, nullptr));
  StartAhead();
  return picture;
}

void PrefetchingPictureLoader::Prefetch(const std::string& path, const DrawnSize& drawn) {
  if (ahead_ && ahead_->path == path) return;
  GiveUp(std::exchange(ahead_, nullptr));
  next_ = Next{path, drawn};
  StartAhead();
}

void PrefetchingPictureLoader::StartAhead() {
  if (!next_ || running_->load() != 0) return;
  ahead_ = Start(next_->path, next_->drawn);
  next_.reset();
}

}  // namespace orvel
