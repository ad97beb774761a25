// File stamps from stat(2): the file system's stamps, and the devices' test
// for a disc image or a music file replaced or rewritten under them.
#pragma once

#include <sys/stat.h>

#include <optional>
#include <string>

#include "platform/platform.h"

namespace orvel {

// Nanoseconds, where the file system keeps them: a file rewritten within the
// same second still shows.
inline FileStamp StampFromStat(const struct stat& info) {
  return FileStamp{
      static_cast<std::uint64_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec,
      static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino)};
}

// The stamp of `path` as it stands, whatever kind of file it is; nullopt
// when there is no such file.
inline std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return StampFromStat(info);
}

}  // namespace orvel
