#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <utility>

#include "platform/win32/system/wide_text.h"
#include "platform/win32/system/win32_platform.h"

namespace orvel {
namespace {

// The attributes the picture scan knows; the other marks are left out.
constexpr DWORD kScanAttributes = FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                  FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DIRECTORY |
                                  FILE_ATTRIBUTE_ARCHIVE;
// What a replaced file keeps of the attributes of the one it replaces.
constexpr DWORD kKeptAttributes = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM |
                                  FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
constexpr DWORD kShareAll = FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE;

class FileHandle {
 public:
  explicit FileHandle(HANDLE handle) : handle_(handle) {}
  FileHandle(FileHandle&& other) noexcept
      : handle_(std::exchange(other.handle_, INVALID_HANDLE_VALUE)) {}
  ~FileHandle() { Close(); }
  FileHandle(const FileHandle&) = delete;
  FileHandle& operator=(const FileHandle&) = delete;

  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }
  // Closes the handle; false when closing failed.
  bool Close() {
    if (handle_ == INVALID_HANDLE_VALUE) return true;
    bool closed = CloseHandle(handle_) != 0;
    handle_ = INVALID_HANDLE_VALUE;
    return closed;
  }

 private:
  HANDLE handle_;
};

class FindHandle {
 public:
  explicit FindHandle(HANDLE handle) : handle_(handle) {}
  ~FindHandle() {
    if (handle_ != INVALID_HANDLE_VALUE) FindClose(handle_);
  }
  FindHandle(const FindHandle&) = delete;
  FindHandle& operator=(const FindHandle&) = delete;

  explicit operator bool() const { return handle_ != INVALID_HANDLE_VALUE; }
  HANDLE get() const { return handle_; }

 private:
  HANDLE handle_;
};

HANDLE FindFirst(const std::wstring& pattern, WIN32_FIND_DATAW& found) {
  return FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr,
                          FIND_FIRST_EX_LARGE_FETCH);
}

// The system's words for an error code ("Access is denied.").
std::string SystemMessage(DWORD code) {
  wchar_t* text = nullptr;
  const DWORD length = FormatMessageW(
      FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
      nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
  std::wstring message(text != nullptr ? text : L"", length);
  LocalFree(text);
  while (!message.empty() &&
         (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' ')) {
    message.pop_back();
  }
  if (message.empty()) return "Error " + std::to_string(code);
  return Utf8FromWide(message);
}

// Opens a file on a disk for reading; an invalid handle for anything else
// (a folder, a device such as CON, a pipe), which would otherwise block the
// reader or never end. Other programs may go on reading and writing it.
FileHandle OpenDiskFile(const std::string& path) {
  std::optional<std::wstring> wide = WideFromUtf8(path);
  if (!wide) return FileHandle(INVALID_HANDLE_VALUE);
  FileHandle file(CreateFileW(wide->c_str(), GENERIC_READ, kShareAll, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (file && GetFileType(file.get()) != FILE_TYPE_DISK) file.Close();
  return file;
}

bool IsFolder(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

// Makes the folder and the folders above it; false with the system's error
// set when one cannot be made.
bool MakeFolders(std::wstring folder) {
  while (!folder.empty() && (folder.back() == L'\\' || folder.back() == L'/')) folder.pop_back();
  if (folder.empty() || folder.back() == L':' || IsFolder(folder)) return true;
  const std::size_t slash = folder.find_last_of(L"\\/");
  if (slash != std::wstring::npos && !MakeFolders(folder.substr(0, slash))) return false;
  return CreateDirectoryW(folder.c_str(), nullptr) != 0 || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WriteAll(HANDLE file, std::string_view bytes) {
  while (!bytes.empty()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
    DWORD written = 0;
    if (!WriteFile(file, bytes.data(), chunk, &written, nullptr) || written == 0) return false;
    bytes.remove_prefix(written);
  }
  return true;
}

// A new, empty file beside `target` that no one else has, for writing.
FileHandle CreateTemporaryBeside(const std::wstring& target, std::wstring& name) {
  const ULONGLONG start = GetTickCount64();
  for (unsigned attempt = 0; attempt < 100; ++attempt) {
    name = target + L"." + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(start + attempt) + L".tmp";
    FileHandle file(CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file || GetLastError() != ERROR_FILE_EXISTS) return file;
  }
  return FileHandle(INVALID_HANDLE_VALUE);
}

}  // namespace

std::optional<std::vector<std::string>> Win32FileSystem::ListFiles(const std::string& pattern) {
  std::optional<std::wstring> wide = WideFromUtf8(pattern);
  if (!wide) return std::nullopt;
  WIN32_FIND_DATAW found{};
  FindHandle find(FindFirst(*wide, found));
  if (!find) {
    // A folder that is there but holds no match lists nothing; any other
    // failure (no such folder, no drive) means the folder cannot be listed.
    const DWORD error = GetLastError();
    if (error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES) {
      return std::vector<std::string>{};
    }
    return std::nullopt;
  }
  constexpr DWORD kNeverListed = FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN |
                                 FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_DEVICE;
  std::vector<std::string> names;
  do {
    if ((found.dwFileAttributes & kNeverListed) == 0) {
      names.push_back(Utf8FromWide(found.cFileName));
    }
  } while (FindNextFileW(find.get(), &found));
  return names;
}

bool Win32FileSystem::HasEntry(const std::string& pattern) {
  std::optional<std::wstring> wide = WideFromUtf8(pattern);
  if (!wide) return false;
  WIN32_FIND_DATAW found{};
  FindHandle find(FindFirst(*wide, found));
  return static_cast<bool>(find);
}

std::optional<int> Win32FileSystem::Attributes(const std::string& path) {
  std::optional<std::wstring> wide = WideFromUtf8(path);
  if (!wide) return std::nullopt;
  const DWORD attributes = GetFileAttributesW(wide->c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) {
    // A file the system keeps to itself (a page file in use) is there, but
    // can never be opened: a system file rather than no file.
    const DWORD error = GetLastError();
    if (error == ERROR_ACCESS_DENIED || error == ERROR_SHARING_VIOLATION) {
      return FileAttribute::System;
    }
    return std::nullopt;
  }
  return static_cast<int>(attributes & kScanAttributes);
}

bool Win32FileSystem::CanOpenForRead(const std::string& path) {
  return static_cast<bool>(OpenDiskFile(path));
}

std::optional<std::string> Win32FileSystem::ReadFile(const std::string& path,
                                                     std::size_t maxBytes) {
  FileHandle file = OpenDiskFile(path);
  LARGE_INTEGER size{};
  if (!file || !GetFileSizeEx(file.get(), &size) ||
      static_cast<std::uint64_t>(size.QuadPart) > maxBytes) {
    return std::nullopt;
  }
  // The file may grow between the size and the reading: the limit is
  // checked again as it is read.
  std::string contents;
  char buffer[65536];
  while (true) {
    DWORD got = 0;
    if (!::ReadFile(file.get(), buffer, sizeof buffer, &got, nullptr)) return std::nullopt;
    if (got == 0) return contents;
    if (contents.size() + got > maxBytes) return std::nullopt;
    contents.append(buffer, got);
  }
}

std::optional<FileStamp> Win32FileSystem::Stamp(const std::string& path) {
  std::optional<std::wstring> wide = WideFromUtf8(path);
  if (!wide) return std::nullopt;
  // Opened for its attributes only: a file that no one may read still has
  // a stamp, a folder has none.
  FileHandle file(CreateFileW(wide->c_str(), FILE_READ_ATTRIBUTES, kShareAll, nullptr,
                              OPEN_EXISTING, 0, nullptr));
  BY_HANDLE_FILE_INFORMATION info{};
  if (!file || GetFileType(file.get()) != FILE_TYPE_DISK ||
      !GetFileInformationByHandle(file.get(), &info) ||
      (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
    return std::nullopt;
  }
  auto joined = [](DWORD high, DWORD low) {
    return (static_cast<std::uint64_t>(high) << 32) | low;
  };
  return FileStamp{joined(info.nFileSizeHigh, info.nFileSizeLow),
                   static_cast<std::int64_t>(joined(info.ftLastWriteTime.dwHighDateTime,
                                                    info.ftLastWriteTime.dwLowDateTime)),
                   info.dwVolumeSerialNumber, joined(info.nFileIndexHigh, info.nFileIndexLow)};
}

WriteOutcome Win32FileSystem::ReplaceFile(const std::string& path, std::string_view bytes) {
  // The reason the last failed call gave, as the user's system words it.
  auto failed = [](DWORD code = GetLastError()) {
    return WriteOutcome::Failed(SystemMessage(code));
  };
  std::optional<std::wstring> target = WideFromUtf8(path);
  if (!target) return WriteOutcome::Failed("The file name is not valid text");
  const std::size_t slash = target->find_last_of(L"\\/");
  if (slash != std::wstring::npos && !MakeFolders(target->substr(0, slash + 1))) return failed();
  const DWORD old = GetFileAttributesW(target->c_str());
  const bool exists = old != INVALID_FILE_ATTRIBUTES;
  if (!exists && GetLastError() != ERROR_FILE_NOT_FOUND) return failed();
  // A read-only file is the user saying "leave this alone"; the move below
  // would refuse it too, but in words that do not say why.
  if (exists && (old & FILE_ATTRIBUTE_READONLY) != 0) {
    return WriteOutcome::Failed("The file is read-only");
  }
  // Write a temporary file beside the target, flush it to the disk, then
  // move it over the target: the move replaces the file in one step, so the
  // settings are never half written.
  std::wstring temp;
  FileHandle file = CreateTemporaryBeside(*target, temp);
  if (!file) return failed();
  DWORD error = ERROR_SUCCESS;
  if (!WriteAll(file.get(), bytes) || !FlushFileBuffers(file.get())) error = GetLastError();
  if (!file.Close() && error == ERROR_SUCCESS) error = GetLastError();
  if (error == ERROR_SUCCESS && exists) SetFileAttributesW(temp.c_str(), old & kKeptAttributes);
  if (error == ERROR_SUCCESS && !MoveFileExW(temp.c_str(), target->c_str(),
                                             MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
    error = GetLastError();
  }
  if (error != ERROR_SUCCESS) {
    DeleteFileW(temp.c_str());
    return failed(error);
  }
  return WriteOutcome::Done();
}

}  // namespace orvel
