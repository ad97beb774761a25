// A file system held in memory, in either path style, with the attribute
// values of the Windows family and faults to switch on. Lists folders in
// the order their entries were added.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orvel {

class MemoryFileSystem : public FileSystem {
 public:
  explicit MemoryFileSystem(PathStyle style) : style_(style) {}

  // Adds a folder (and the folders above it).
  void AddFolder(const std::string& path);
  // Adds or replaces a file (and adds the folders above it).
  void AddFile(const std::string& path, std::string contents = {},
               int attributes = FileAttribute::Normal);
  // Removes a file (never a folder), as deleting it from a disk would.
  void RemoveFile(const std::string& path);
  // The file's contents; nullopt when there is no such file.
  std::optional<std::string> Contents(const std::string& path) const;

  // Faults: a file that exists but cannot be opened, a folder that cannot be
  // listed, and the next ReplaceFile calls failing.
  void SetUnreadable(const std::string& path, bool unreadable = true);
  void SetUnlistable(const std::string& path, bool unlistable = true);
  void FailReplaces(int count) { failReplaces_ = count; }

  PathStyle Style() const override { return style_; }
  std::optional<std::vector<std::string>> ListFiles(const std::string& pattern) override;
  bool HasEntry(const std::string& pattern) override;
  std::optional<int> Attributes(const std::string& path) override;
  bool CanOpenForRead(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override;
  // The size of the contents, and the number of the write that left them
  // (every AddFile and ReplaceFile counts one).
  std::optional<FileStamp> Stamp(const std::string& path) override;
  WriteOutcome ReplaceFile(const std::string& path, std::string_view bytes) override;

 private:
  struct Entry {
    std::string name;  // as added, for listing
    bool folder = false;
    int attributes = 0;
    std::string contents;
    bool unreadable = false;
    bool unlistable = false;
    std::vector<std::string> children;  // keys, in the order added
    std::int64_t written = 0;           // the write that left the contents
  };

  std::string Key(const std::string& path) const;
  std::string ParentKey(const std::string& key) const;
  Entry& Ensure(const std::string& key, const std::string& name, bool folder);
  const Entry* Find(const std::string& path) const;
  bool IsRoot(const std::string& key) const;

  PathStyle style_;
  std::map<std::string, Entry> entries_;
  int failReplaces_ = 0;
  std::int64_t writes_ = 0;
};

}  // namespace orvel
