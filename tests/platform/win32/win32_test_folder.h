// A test's own temporary folder, and files made in it through the wide
// calls, so that a test's setting-up does not go through the code it tests.
// Removed with everything in it, read-only files included, when the test is
// done.
#pragma once

#include <windows.h>

#include <filesystem>
#include <string>
#include <system_error>

#include "platform/win32/system/wide_text.h"
#include "temp_folder.h"

namespace orvel {

class Win32TestFolder {
 public:
  Win32TestFolder() = default;
  // A read-only file would stay behind.
  ~Win32TestFolder() {
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }
  Win32TestFolder(const Win32TestFolder&) = delete;
  Win32TestFolder& operator=(const Win32TestFolder&) = delete;

  // The folder, without a backslash at its end.
  const std::wstring& Wide() const { return path_; }
  std::string Utf8() const { return Utf8FromWide(path_); }
  // A path inside the folder, in UTF-8 as the core spells it.
  std::string Utf8(const std::wstring& name) const { return Utf8FromWide(path_ + L"\\" + name); }

  // Writes a file (folders above it must exist); false when it cannot.
  bool Write(const std::wstring& name, const std::string& bytes = "x") const {
    HANDLE file = CreateFileW((path_ + L"\\" + name).c_str(), GENERIC_WRITE, 0, nullptr,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok =
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
        written == bytes.size();
    return CloseHandle(file) && ok;
  }
  bool MakeFolder(const std::wstring& name) const {
    return CreateDirectoryW((path_ + L"\\" + name).c_str(), nullptr) != 0;
  }
  bool SetAttributes(const std::wstring& name, DWORD attributes) const {
    return SetFileAttributesW((path_ + L"\\" + name).c_str(), attributes) != 0;
  }
  DWORD Attributes(const std::wstring& name) const {
    return GetFileAttributesW((path_ + L"\\" + name).c_str());
  }

 private:
  TempFolder folder_;
  const std::wstring path_ = folder_.path().wstring();
};

}  // namespace orvel
