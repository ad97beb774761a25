#include "platform/linux/music/cd_positions.h"

#include <algorithm>
#include <cstdio>

#include "platform/linux/music/mci_command.h"

namespace orvel {

namespace {

constexpr std::int64_t kSectorsPerMinute = 60 * kCdSectorsPerSecond;

std::string TwoDigits(std::int64_t value) {
  char text[24];
  std::snprintf(text, sizeof text, "%02ld", value);
  return text;
}

std::string MinutesSecondsFrames(std::int64_t frames) {
  return TwoDigits(frames / kSectorsPerMinute) + ":" +
         TwoDigits(frames / kCdSectorsPerSecond % 60) + ":" +
         TwoDigits(frames % kCdSectorsPerSecond);
}

// Up to `most` colon-separated whole numbers.
std::optional<std::vector<std::int64_t>> Fields(std::string_view text, std::size_t most) {
  std::vector<std::int64_t> fields;
  while (true) {
    std::size_t colon = text.find(':');
    std::optional<std::int64_t> value = ParseMciNumber(text.substr(0, colon));
    if (!value || fields.size() == most) return std::nullopt;
    fields.push_back(*value);
    if (colon == std::string_view::npos) break;
    text.remove_prefix(colon + 1);
  }
  return fields;
}

// Frames from minutes, seconds and frames given from the left.
std::optional<std::int64_t> FramesOf(const std::vector<std::int64_t>& fields, std::size_t first) {
  std::int64_t minutes = fields.size() > first ? fields[first] : 0;
  std::int64_t seconds = fields.size() > first + 1 ? fields[first + 1] : 0;
  std::int64_t frames = fields.size() > first + 2 ? fields[first + 2] : 0;
  if (seconds >= 60 || frames >= kCdSectorsPerSecond) return std::nullopt;
  return minutes * kSectorsPerMinute + seconds * kCdSectorsPerSecond + frames;
}

}  // namespace

const CdTrack* CdToc::Find(int number) const {
  for (const CdTrack& track : tracks) {
    if (track.number == number) return &track;
  }
  return nullptr;
}

const CdTrack& CdToc::TrackAt(std::int64_t sector) const {
  for (const CdTrack& track : tracks) {
    if (sector < track.end) return track;
  }
  return tracks.back();
}

std::optional<CdTimeFormat> ParseCdTimeFormat(std::string_view word) {
  if (SameWord(word, "msf")) return CdTimeFormat::Msf;
  if (SameWord(word, "tmsf")) return CdTimeFormat::Tmsf;
  if (SameWord(word, "milliseconds") || SameWord(word, "ms")) return CdTimeFormat::Milliseconds;
  return std::nullopt;
}

std::string FormatCdPosition(const CdToc& toc, std::int64_t sector, CdTimeFormat format) {
  switch (format) {
    case CdTimeFormat::Msf:
      return MinutesSecondsFrames(sector + kCdAddressOffset);
    case CdTimeFormat::Tmsf: {
      const CdTrack& track = toc.TrackAt(sector);
      return TwoDigits(track.number) + ":" +
             MinutesSecondsFrames(std::max(0L, sector - track.start));
    }
    case CdTimeFormat::Milliseconds:
      break;
  }
  return std::to_string((sector + kCdAddressOffset) * 1000 / kCdSectorsPerSecond);
}

CdPosition ParseCdPosition(const CdToc& toc, std::string_view text, CdTimeFormat format) {
  std::int64_t sector = 0;
  switch (format) {
    case CdTimeFormat::Msf: {
      std::optional<std::vector<std::int64_t>> fields = Fields(text, 3);
      if (!fields) return {MciError::BadInteger};
      std::optional<std::int64_t> frames = FramesOf(*fields, 0);
      if (!frames) return {MciError::OutOfRange};
      sector = *frames - kCdAddressOffset;
      break;
    }
    case CdTimeFormat::Tmsf: {
      std::optional<std::vector<std::int64_t>> fields = Fields(text, 4);
      if (!fields) return {MciError::BadInteger};
      const CdTrack* track = toc.Find(static_cast<int>((*fields)[0]));
      std::optional<std::int64_t> frames = FramesOf(*fields, 1);
      if (track == nullptr || !frames) return {MciError::OutOfRange};
      sector = track->start + *frames;
      break;
    }
    case CdTimeFormat::Milliseconds: {
      std::optional<std::int64_t> ms = ParseMciNumber(text);
      if (!ms) return {MciError::BadInteger};
      // Rounded up, so that a position the device replied reads back as the
      // sector it came from.
      sector = (*ms * kCdSectorsPerSecond + 999) / 1000 - kCdAddressOffset;
      break;
    }
  }
  if (sector > toc.End()) return {MciError::OutOfRange};
  return {0, std::max(0L, sector)};
}

}  // namespace orvel
