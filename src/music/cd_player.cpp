#include "music/cd_player.h"

#include <cstdint>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

#include "settings/ascii.h"
#include "settings/numbers.h"

namespace orvel {
namespace {

constexpr const char* kDevice = "cdaudio";

// A status reply that MciStatus turned into its error marker.
bool IsFailure(std::string_view reply) {
  return AsciiUpper(reply).find("ERR") != std::string::npos;
}

// Exactly "stopped" in the first seven characters, in this letter case.
bool IsStopped(std::string_view mode) { return mode.substr(0, 7) == "stopped"; }

std::string PositionQuery(int track) {
  return "status cdaudio position track " + FormatNumber(track);
}

}  // namespace

void CdPlayer::CdOpen() {
  channel_.SendDirect("open cdaudio");
  // The drive does not know this time format and keeps its own; positions
  // are only ever handed back to it as it gave them, so nothing depends on
  // the format.
  channel_.SendDirect("set cdaudio time format tmst");
}

void CdPlayer::CdWatch() {
  watchOk_ = true;

  const std::string current = channel_.MciStatus("status cdaudio current track");
  if (IsFailure(current)) {
    watchOk_ = false;
    return;
  }
  // The count only proves that the disc answers.
  if (IsFailure(channel_.MciStatus("status cdaudio number of tracks"))) {
    watchOk_ = false;
    return;
  }
  const std::string mode = channel_.QueryDirect("status cdaudio mode", kCdModeBuffer);

  const int repeatTrack = settings_.BgmRepeatTrack;
  if (repeatTrack == 0) {
    if (IsStopped(mode)) channel_.MciPlay(kDevice, "", "");
    return;
  }

  // The current track must read as a number even when the drive has
  // stopped: a drive that answers with something else is not watched on.
  const std::optional<double> currentTrack = ParseNumber(current);
  if (!currentTrack) {
    watchOk_ = false;
    return;
  }
  if (IsStopped(mode) || *currentTrack != repeatTrack) {
    // From the start of the repeat track with no end: the next step that
    // finds another track playing brings it back.
    const std::string start = channel_.MciStatus(PositionQuery(repeatTrack));
    channel_.MciPlay(kDevice, start, "");
  }
}

void CdPlayer::SkipTracks(int step) {
  // A reply that does not start with a number, or one beyond 16 bits,
  // counts as track 0.
  std::int32_t track = ParseInt32Lenient(channel_.MciStatus("status cdaudio current track"));
  if (track < std::numeric_limits<std::int16_t>::min() ||
      track > std::numeric_limits<std::int16_t>::max()) {
    track = 0;
  }
  // No bound test: the drive refuses a track it does not have, and then the
  // play command that carries its refusal as well.
  const std::string start = channel_.MciStatus(PositionQuery(track + step));
  channel_.MciPlay(kDevice, start, "");
}

void CdPlayer::CdPreviousTrack() { SkipTracks(-1); }

void CdPlayer::CdNextTrack() { SkipTracks(+1); }

void CdPlayer::CdClose() {
  channel_.SendDirect("stop cdaudio");
  channel_.SendDirect("close cdaudio");
}

}  // namespace orvel
