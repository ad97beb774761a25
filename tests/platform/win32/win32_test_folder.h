// A temporary folder, filled by the standard library, removed whole (read-only files too).
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

  const std::wstring& Wide() const { return path_; }
  std::string Utf8() const { return Utf8FromWide(path_); }
  std::string Utf8(const std::wstring& name) const { return Utf8FromWide(path_ + L"\\" + name); }

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

 private:
  TempFolder folder_;
  const std::wstring path_ = folder_.path().wstring();
};

}  // namespace orvel
