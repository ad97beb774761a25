// What tells one file from another under the same name: the devices use it
// to notice a disc image or a music file replaced or rewritten under them.
#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <optional>
#include <string>

namespace orvel {

struct FileStamp {
  std::uint64_t device = 0, inode = 0;
  std::int64_t size = 0, modifiedNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of `path` as it stands; nullopt when there is no such file.
inline std::optional<FileStamp> StampOf(const std::string& path) {
  struct stat info {};
  if (::stat(path.c_str(), &info) != 0) return std::nullopt;
  return FileStamp{
      static_cast<std::uint64_t>(info.st_dev), static_cast<std::uint64_t>(info.st_ino),
      static_cast<std::int64_t>(info.st_size),
      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1'000'000'000 + info.st_mtim.tv_nsec};
}

}  // namespace orvel
