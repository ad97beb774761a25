// Positions on an audio CD as the media control interface writes them: the
// table of contents in sectors (75 to the second) and the three time
// formats of the CD device, msf ("mm:ss:ff", the address on the disc),
// tmsf ("tt:mm:ss:ff", a track and the time into it) and milliseconds (from
// the address 00:00:00).
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

constexpr std::int64_t kCdSectorsPerSecond = 75;
// Sector 0 of a disc (its logical sector number) has the address 00:02:00.
constexpr std::int64_t kCdAddressOffset = 150;

struct CdTrack {
  int number = 0;
  std::int64_t start = 0;  // first sector
  std::int64_t end = 0;    // one past the last sector
  bool audio = true;
};

struct CdToc {
  std::vector<CdTrack> tracks;  // in number order, never empty

  const CdTrack* Find(int number) const;
  // The track that holds `sector`; the first track for a sector in front of
  // it, the last one for a sector at or past the end of the disc.
  const CdTrack& TrackAt(std::int64_t sector) const;
  // One past the last sector of the last track.
  std::int64_t End() const { return tracks.back().end; }
};

enum class CdTimeFormat { Msf, Tmsf, Milliseconds };

// "msf", "tmsf", "milliseconds" or "ms", letter case aside.
std::optional<CdTimeFormat> ParseCdTimeFormat(std::string_view word);

// The position of `sector` as the device replies it.
std::string FormatCdPosition(const CdToc& toc, std::int64_t sector, CdTimeFormat format);

// The sector a position names, or a media control error code: BadInteger
// for a text that is not a position, OutOfRange for one past the end of the
// disc, a track that does not exist, or seconds and frames out of their
// range. Short forms name the start of a minute or a track ("3" in tmsf is
// the start of track 3). Addresses in front of sector 0 count as sector 0.
struct CdPosition {
  int error = 0;
  std::int64_t sector = 0;
};
CdPosition ParseCdPosition(const CdToc& toc, std::string_view text, CdTimeFormat format);

}  // namespace orvel
