// One GStreamer pipeline as the players drive it: seeks whose end can be
// told apart from the end of an earlier one, the position, and the news of
// the end of the stream and of errors. The news is taken from the bus by a
// synchronous handler, which runs on whatever thread posts the message (a
// streaming thread, or the caller's own during a state change) and drops
// every message, so that nothing piles up on the bus and no main loop has
// to run.
#pragma once

#include <gst/gst.h>

#include <atomic>
#include <cstdint>
#include <functional>
#include <optional>

namespace orvel {

class GstPlayback {
 public:
  // Takes `pipeline` (a floating reference is sunk). Seeks go to
  // `seekTarget`, the pipeline itself or an element in it; a source element
  // keeps a seek that comes before it starts and applies it when it starts.
  GstPlayback(GstElement* pipeline, GstElement* seekTarget);
  // Stops the pipeline (no thread of it runs afterwards) and frees it.
  ~GstPlayback();
  GstPlayback(const GstPlayback&) = delete;
  GstPlayback& operator=(const GstPlayback&) = delete;

  // Flushes and plays the stretch [startNs, stopNs) of stream time from the
  // next moment the pipeline runs; stopNs -1 plays to the end of the
  // stream. False when the seek is refused.
  bool Seek(std::int64_t startNs, std::int64_t stopNs);

  // Plays the whole stream from its start as a segment whose end is not the
  // end of the stream: the handler given to OnSegmentDone runs instead, and
  // a further LoopSeek without `flush` then follows on without a gap.
  bool LoopSeek(bool flush);
  // Sets the handler that runs, on a streaming thread, when a LoopSeek's
  // stretch has been read to its end. Set it before the pipeline runs.
  void OnSegmentDone(std::function<void()> handler) { segmentDone_ = std::move(handler); }

  // False when the change fails at once; a change that completes on the
  // pipeline's threads counts as success.
  bool SetState(GstState state);

  // Plays on to the end of the stream from `startNs`. A pipeline that has
  // not played yet starts at 0 without a seek, so that a stream that cannot
  // seek (a pipe) plays too. False when the seek or the change is refused.
  bool PlayFrom(std::int64_t startNs);

  // Waits at most `timeoutMs` for a state change under way to complete.
  GstStateChangeReturn Settle(int timeoutMs);

  std::optional<std::int64_t> PositionNs() const;
  std::optional<std::int64_t> DurationNs() const;

  // Whether the stretch started by the latest seek, or the stream when
  // there has been none, has played to its end.
  bool Ended() const;
  // Whether an error came since the last call.
  bool TakeError() { return error_.exchange(false); }

 private:
  static GstBusSyncReply OnMessage(GstBus* bus, GstMessage* message, gpointer self);

  GstElement* pipeline_;
  GstElement* seekTarget_;
  GstBus* bus_;
  guint32 seekSeqnum_ = GST_SEQNUM_INVALID;
  bool played_ = false;
  std::atomic<guint32> endSeqnum_{GST_SEQNUM_INVALID};
  std::atomic<bool> error_{false};
  std::function<void()> segmentDone_;
};

}  // namespace orvel
