#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <system_error>

#include "platform/linux/system/file_stamp.h"
#include "platform/linux/system/linux_platform.h"
#include "settings/paths.h"

namespace orvel {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// Splits "/a/b/*.jpg" into "/a/b/" and "*.jpg"; a pattern without "/" lists
// the current folder.
std::pair<std::string, std::string> SplitPattern(const std::string& pattern) {
  std::size_t slash = pattern.rfind('/');
  if (slash == std::string::npos) return {"./", pattern};
  return {pattern.substr(0, slash + 1), pattern.substr(slash + 1)};
}

bool WriteAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t written = write(fd, bytes.data(), bytes.size());
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(written));
  }
  return true;
}

bool MakeFolders(const std::string& folder) {
  if (folder.empty()) return true;
  struct stat info {};
  if (stat(folder.c_str(), &info) == 0) return S_ISDIR(info.st_mode);
  std::size_t slash = folder.find_last_of('/', folder.size() - 2);
  if (slash != std::string::npos && slash > 0 && !MakeFolders(folder.substr(0, slash))) {
    return false;
  }
  return mkdir(folder.c_str(), 0755) == 0 || errno == EEXIST;
}

// Opens a regular file (symbolic links followed) for reading; -1 for
// anything else. A FIFO or a device named like a settings or music file
// would otherwise block the reader or never end; the non-blocking open
// keeps the open itself from waiting for a FIFO's writer. A file that no
// one may read counts as unreadable also to root, who could open it.
int OpenRegularFile(const std::string& path, struct stat& info) {
  int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd < 0) return -1;
  int flags = fcntl(fd, F_GETFL);
  if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || (info.st_mode & 0444) == 0 || flags < 0 ||
      fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
    close(fd);
    return -1;
  }
  return fd;
}

// The file a path names once its links are followed (a link may point at a
// file that does not exist yet); the path itself when it is no link.
std::string FollowLinks(std::string path) {
  for (int hops = 0; hops < 16; ++hops) {
    struct stat info {};
    if (lstat(path.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) break;
    std::string link(4096, '\0');
    ssize_t length = readlink(path.c_str(), link.data(), link.size());
    if (length <= 0) break;
    link.resize(static_cast<std::size_t>(length));
    path = link.starts_with('/') ? link : path.substr(0, path.rfind('/') + 1) + link;
  }
  return path;
}

}  // namespace

std::optional<std::vector<std::string>> LinuxFileSystem::ListFiles(const std::string& pattern) {
  auto [folder, namePattern] = SplitPattern(pattern);
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return std::nullopt;
  std::vector<std::string> names;
  while (const dirent* entry = readdir(dir.get())) {
    std::string name = entry->d_name;
    if (name.starts_with('.') || !WildcardMatch(name, namePattern, true)) continue;
    // The entry's type usually comes with the listing; links and file
    // systems that do not tell need a look at the file itself.
    if (entry->d_type != DT_REG) {
      struct stat info {};
      if (entry->d_type != DT_LNK && entry->d_type != DT_UNKNOWN) continue;
      if (stat((folder + name).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) continue;
    }
    names.push_back(std::move(name));
  }
  return names;
}

bool LinuxFileSystem::HasEntry(const std::string& pattern) {
  auto [folder, namePattern] = SplitPattern(pattern);
  std::unique_ptr<DIR, DirCloser> dir(opendir(folder.c_str()));
  if (!dir) return false;
  while (const dirent* entry = readdir(dir.get())) {
    if (WildcardMatch(entry->d_name, namePattern, true)) return true;
  }
  return false;
}

std::optional<int> LinuxFileSystem::Attributes(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0) {
    // A link that leads round in a loop, or a path through a folder that
    // may not be searched, names something that is there but can never be
    // opened: a special file rather than no file.
    if (errno == ELOOP || errno == EACCES) return FileAttribute::System;
    return std::nullopt;
  }
  int attributes = FileAttribute::Normal;
  if (S_ISDIR(info.st_mode)) {
    attributes = FileAttribute::Directory;
  } else if (!S_ISREG(info.st_mode)) {
    attributes = FileAttribute::System;
  }
  if (NamePart(path, PathStyle::Posix).starts_with('.')) attributes |= FileAttribute::Hidden;
  return attributes;
}

bool LinuxFileSystem::CanOpenForRead(const std::string& path) {
  struct stat info {};
  int fd = OpenRegularFile(path, info);
  if (fd < 0) return false;
  close(fd);
  return true;
}

std::optional<std::string> LinuxFileSystem::ReadFile(const std::string& path,
                                                     std::size_t maxBytes) {
  struct stat info {};
  int fd = OpenRegularFile(path, info);
  if (fd < 0) return std::nullopt;
  // The size is checked before reading, and again while reading: the file
  // may grow in between.
  std::optional<std::string> contents;
  if (static_cast<std::uintmax_t>(info.st_size) <= maxBytes) contents.emplace();
  char buffer[65536];
  while (contents) {
    ssize_t got = read(fd, buffer, sizeof buffer);
    if (got < 0 && errno == EINTR) continue;
    if (got <= 0 || contents->size() + static_cast<std::size_t>(got) > maxBytes) {
      if (got != 0) contents.reset();
      break;
    }
    contents->append(buffer, static_cast<std::size_t>(got));
  }
  close(fd);
  return contents;
}

std::optional<FileStamp> LinuxFileSystem::Stamp(const std::string& path) {
  struct stat info {};
  if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return std::nullopt;
  return StampFromStat(info);
}

WriteOutcome LinuxFileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
  // The reason the last failed call gave, as the user's system words it.
  auto failed = [] { return WriteOutcome::Failed(std::generic_category().message(errno)); };
  // A settings file that is a link to another file stays a link: the file it
  // points to is the one replaced.
  const std::string target = FollowLinks(path);
  std::string folder = target.substr(0, target.rfind('/') + 1);
  if (!MakeFolders(folder)) return failed();
  struct stat old {};
  const bool exists = stat(target.c_str(), &old) == 0;
  // A file without write permission is the user saying "leave this alone";
  // the rename below would replace it all the same, since a rename asks
  // only the folder. The mode bits decide even for root, whom access()
  // lets write anything.
  if (exists && (old.st_mode & 0222) == 0) return WriteOutcome::Failed("The file is read-only");
  if (exists && access(target.c_str(), W_OK) != 0) return failed();
  // Write a temporary file beside the target, then rename it over the
  // target: the rename is atomic, so the settings are never half written.
  std::string temp = target + ".XXXXXX";
  int fd = mkstemp(temp.data());
  if (fd < 0) return failed();
  mode_t mode = exists ? (old.st_mode & 07777) : 0644;
  int error = 0;
  if (fchmod(fd, mode) != 0 || !WriteAll(fd, bytes) || fsync(fd) != 0) error = errno;
  if (close(fd) != 0 && error == 0) error = errno;
  if (error == 0 && rename(temp.c_str(), target.c_str()) != 0) error = errno;
  if (error != 0) {
    unlink(temp.c_str());
    errno = error;
    return failed();
  }
  // The rename itself lasts through a power cut only once the folder is on
  // disk too.
  int dir = open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
  return WriteOutcome::Done();
}

}  // namespace orvel
