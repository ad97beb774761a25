#include "platform/headless/memory_file_system.h"

#include <algorithm>

#include "settings/ascii.h"
#include "settings/paths.h"

namespace orvel {
namespace {

bool IsSep(char c, PathStyle style) {
  return c == '/' || (style == PathStyle::Windows && c == '\\');
}

// The folder part of a pattern, with its last separator kept ("C:\" for
// "C:\*.bmp", "/" for "/*.bmp").
std::string PatternFolder(const std::string& pattern, PathStyle style) {
  for (std::size_t i = pattern.size(); i > 0; --i) {
    char c = pattern[i - 1];
    if (IsSep(c, style) || (style == PathStyle::Windows && c == ':')) return pattern.substr(0, i);
  }
  return {};
}

}  // namespace

std::string MemoryFileSystem::Key(const std::string& path) const {
  std::vector<std::string> parts;
  std::string part;
  for (char c : path + Separator(style_)) {
    if (IsSep(c, style_)) {
      if (!part.empty()) parts.push_back(style_ == PathStyle::Windows ? AsciiLower(part) : part);
      part.clear();
    } else {
      part += c;
    }
  }
  std::string key = style_ == PathStyle::Posix ? "/" : "";
  for (std::size_t i = 0; i < parts.size(); ++i) {
    if (i > 0) key += '/';
    key += parts[i];
  }
  return key;
}

std::string MemoryFileSystem::ParentKey(const std::string& key) const {
  if (IsRoot(key)) return {};
  std::size_t slash = key.rfind('/');
  if (slash == std::string::npos) return {};
  if (slash == 0) return "/";
  return key.substr(0, slash);
}

bool MemoryFileSystem::IsRoot(const std::string& key) const {
  return style_ == PathStyle::Posix ? key == "/" : key.find('/') == std::string::npos;
}

MemoryFileSystem::Entry& MemoryFileSystem::Ensure(const std::string& key, const std::string& name,
                                                  bool folder) {
  auto found = entries_.find(key);
  if (found != entries_.end()) return found->second;
  std::string parent = ParentKey(key);
  if (!parent.empty()) {
    std::size_t slash = parent.rfind('/');
    Ensure(parent, slash == std::string::npos ? parent : parent.substr(slash + 1), true)
        .children.push_back(key);
  }
  Entry& entry = entries_[key];
  entry.name = name;
  entry.folder = folder;
  entry.attributes = folder ? FileAttribute::Directory : FileAttribute::Normal;
  return entry;
}

void MemoryFileSystem::AddFolder(const std::string& path) {
  Ensure(Key(path), NamePart(path, style_), true);
}

void MemoryFileSystem::AddFile(const std::string& path, std::string contents, int attributes) {
  Entry& entry = Ensure(Key(path), NamePart(path, style_), false);
  entry.contents = std::move(contents);
  entry.attributes = attributes;
  entry.written = ++writes_;
}

void MemoryFileSystem::RemoveFile(const std::string& path) {
  const std::string key = Key(path);
  auto found = entries_.find(key);
  if (found == entries_.end() || found->second.folder) return;
  entries_.erase(found);
  auto parent = entries_.find(ParentKey(key));
  if (parent != entries_.end()) std::erase(parent->second.children, key);
}

const MemoryFileSystem::Entry* MemoryFileSystem::Find(const std::string& path) const {
  auto found = entries_.find(Key(path));
  return found == entries_.end() ? nullptr : &found->second;
}

std::optional<std::string> MemoryFileSystem::Contents(const std::string& path) const {
  const Entry* entry = Find(path);
  if (entry == nullptr || entry->folder) return std::nullopt;
  return entry->contents;
}

void MemoryFileSystem::SetUnreadable(const std::string& path, bool unreadable) {
  auto found = entries_.find(Key(path));
  if (found != entries_.end()) found->second.unreadable = unreadable;
}

void MemoryFileSystem::SetUnlistable(const std::string& path, bool unlistable) {
  auto found = entries_.find(Key(path));
  if (found != entries_.end()) found->second.unlistable = unlistable;
}

std::optional<std::vector<std::string>> MemoryFileSystem::ListFiles(const std::string& pattern) {
  const Entry* folder = Find(PatternFolder(pattern, style_));
  if (folder == nullptr || !folder->folder || folder->unlistable) return std::nullopt;
  std::string namePattern = pattern.substr(PatternFolder(pattern, style_).size());
  std::vector<std::string> names;
  for (const std::string& key : folder->children) {
    const Entry& entry = entries_.at(key);
    if (entry.folder) continue;
    if (entry.attributes & (FileAttribute::Hidden | FileAttribute::System)) continue;
    if (style_ == PathStyle::Posix && entry.name.starts_with('.')) continue;
    if (WildcardMatch(entry.name, namePattern, true)) names.push_back(entry.name);
  }
  return names;
}

bool MemoryFileSystem::HasEntry(const std::string& pattern) {
  std::string folderPath = PatternFolder(pattern, style_);
  const Entry* folder = Find(folderPath);
  if (folder == nullptr || !folder->folder || folder->unlistable) return false;
  std::string namePattern = pattern.substr(folderPath.size());
  // On the Windows family "*.*" also matches names without a dot.
  if (style_ == PathStyle::Windows && namePattern == "*.*") namePattern = "*";
  std::vector<std::string> names;
  // Every folder lists its own dot entries, but for a Windows drive root.
  if (!(style_ == PathStyle::Windows && IsRoot(Key(folderPath)))) names = {".", ".."};
  for (const std::string& key : folder->children) names.push_back(entries_.at(key).name);
  return std::any_of(names.begin(), names.end(), [&](const std::string& name) {
    return WildcardMatch(name, namePattern, true);
  });
}

std::optional<int> MemoryFileSystem::Attributes(const std::string& path) {
  const Entry* entry = Find(path);
  if (entry == nullptr) return std::nullopt;
  return entry->attributes;
}

bool MemoryFileSystem::CanOpenForRead(const std::string& path) {
  const Entry* entry = Find(path);
  return entry != nullptr && !entry->folder && !entry->unreadable;
}

std::optional<std::string> MemoryFileSystem::ReadFile(const std::string& path,
                                                      std::size_t maxBytes) {
  if (!CanOpenForRead(path) || Find(path)->contents.size() > maxBytes) return std::nullopt;
  return Find(path)->contents;
}

std::optional<FileStamp> MemoryFileSystem::Stamp(const std::string& path) {
  const Entry* entry = Find(path);
  if (entry == nullptr || entry->folder) return std::nullopt;
  return FileStamp{entry->contents.size(), entry->written};
}

WriteOutcome MemoryFileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
  if (failReplaces_ > 0) {
    --failReplaces_;
    return WriteOutcome::Failed("No space left on device");
  }
  const Entry* existing = Find(path);
  if (existing != nullptr && existing->folder) return WriteOutcome::Failed("Is a directory");
  if (existing != nullptr && existing->unreadable) {
    return WriteOutcome::Failed("Permission denied");
  }
  int attributes = existing ? existing->attributes : FileAttribute::Normal;
  if (attributes & FileAttribute::ReadOnly) return WriteOutcome::Failed("The file is read-only");
  AddFile(path, std::string(bytes), attributes);
  return WriteOutcome::Done();
}

}  // namespace orvel
