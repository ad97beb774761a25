#include "platform/linux/music/gst_playback.h"

namespace orvel {

GstPlayback::GstPlayback(GstElement* pipeline, GstElement* seekTarget)
    : pipeline_(GST_ELEMENT(gst_object_ref_sink(pipeline))),
      seekTarget_(GST_ELEMENT(gst_object_ref(seekTarget))),
      bus_(gst_element_get_bus(pipeline_)) {
  gst_bus_set_sync_handler(bus_, &GstPlayback::OnMessage, this, nullptr);
}

GstPlayback::~GstPlayback() {
  // Once the pipeline is down no thread of it posts any more, so the
  // handler can go before `this` does.
  gst_element_set_state(pipeline_, GST_STATE_NULL);
  gst_bus_set_sync_handler(bus_, nullptr, nullptr, nullptr);
  gst_object_unref(bus_);
  gst_object_unref(seekTarget_);
  gst_object_unref(pipeline_);
}

GstBusSyncReply GstPlayback::OnMessage(GstBus*, GstMessage* message, gpointer self) {
  auto* playback = static_cast<GstPlayback*>(self);
  switch (GST_MESSAGE_TYPE(message)) {
    case GST_MESSAGE_EOS:
      // The end of stream carries the sequence number of the seek that
      // started the stretch, so a late end of an earlier stretch is not
      // taken for the end of the current one.
      playback->endSeqnum_.store(gst_message_get_seqnum(message));
      break;
    case GST_MESSAGE_ERROR:
      playback->error_.store(true);
      break;
    case GST_MESSAGE_SEGMENT_DONE:
      if (playback->segmentDone_) playback->segmentDone_();
      break;
    default:
      break;
  }
  gst_message_unref(message);
  return GST_BUS_DROP;
}

bool GstPlayback::Seek(std::int64_t startNs, std::int64_t stopNs) {
  // The stop is always set: a seek that left it out would keep the stop of
  // the previous one.
  GstEvent* seek = gst_event_new_seek(
      1.0, GST_FORMAT_TIME, static_cast<GstSeekFlags>(GST_SEEK_FLAG_FLUSH | GST_SEEK_FLAG_ACCURATE),
      GST_SEEK_TYPE_SET, startNs, GST_SEEK_TYPE_SET, stopNs);
  guint32 seqnum = gst_event_get_seqnum(seek);
  if (!gst_element_send_event(seekTarget_, seek)) return false;
  seekSeqnum_ = seqnum;
  return true;
}

bool GstPlayback::LoopSeek(bool flush) {
  auto flags = static_cast<GstSeekFlags>(GST_SEEK_FLAG_SEGMENT |
                                         (flush ? GST_SEEK_FLAG_FLUSH : GST_SEEK_FLAG_NONE));
  return gst_element_send_event(
      seekTarget_, gst_event_new_seek(1.0, GST_FORMAT_TIME, flags, GST_SEEK_TYPE_SET, 0,
                                      GST_SEEK_TYPE_NONE, -1));
}

bool GstPlayback::SetState(GstState state) {
  return gst_element_set_state(pipeline_, state) != GST_STATE_CHANGE_FAILURE;
}

bool GstPlayback::PlayFrom(std::int64_t startNs) {
  if ((startNs != 0 || played_) && !Seek(startNs, -1)) return false;
  if (!SetState(GST_STATE_PLAYING)) return false;
  played_ = true;
  return true;
}

GstStateChangeReturn GstPlayback::Settle(int timeoutMs) {
  return gst_element_get_state(pipeline_, nullptr, nullptr,
                               static_cast<GstClockTime>(timeoutMs) * GST_MSECOND);
}

std::optional<std::int64_t> GstPlayback::PositionNs() const {
  gint64 position = 0;
  if (!gst_element_query_position(pipeline_, GST_FORMAT_TIME, &position) || position < 0) {
    return std::nullopt;
  }
  return position;
}

std::optional<std::int64_t> GstPlayback::DurationNs() const {
  gint64 duration = 0;
  if (!gst_element_query_duration(pipeline_, GST_FORMAT_TIME, &duration) || duration < 0) {
    return std::nullopt;
  }
  return duration;
}

bool GstPlayback::Ended() const {
  const guint32 end = endSeqnum_.load();
  return end != GST_SEQNUM_INVALID && (seekSeqnum_ == GST_SEQNUM_INVALID || end == seekSeqnum_);
}

}  // namespace orvel
