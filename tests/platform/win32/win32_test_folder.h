// A test's own temporary folder, files made in it by the standard library (not the code
// tested), removed with everything in it, read-only files included.
#pragma once

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <system_error>

#include "platform/win32/system/wide_text.h"
#include "temp_folder.h"

namespace orvel {

class Win32TestFolder {
 public:
  ~Win32TestFolder() {
    std::error_code ignored;
    for (auto it = std::filesystem::recursive_directory_iterator(path_, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
      SetFileAttributesW(it->path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
  }

  // The folder, without a backslash at its end.
  const std::wstring& Wide() const { return path_; }
  std::string Utf8() const { return Utf8FromWide(path_); }
  // A path inside the folder, in UTF-8 as the core spells it.
  std::string Utf8(const std::wstring& name) const { return Utf8FromWide(path_ + L"\\" + name); }

  // Writes a file (folders above it must exist); false when it cannot.
  bool Write(const std::wstring& name, const std::string& bytes = "x") const {
    std::ofstream file(std::filesystem::path(path_ + L"\\" + name), std::ios::binary);
    file << bytes;
    file.close();
    return !file.fail();
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
