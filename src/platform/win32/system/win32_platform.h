// The Windows platform's services.
#pragma once

#include "platform/platform.h"

namespace orvel {

// The real file system through the Unicode calls. Patterns match as Windows
// matches them (without regard to letter case). The attribute value holds
// only read-only, hidden, system, folder and archive: the other marks a
// file carries (not indexed, compressed, "normal") say nothing about it to
// the picture scan. Folders, hidden and system files are never listed, nor
// is anything that is not a file on a disk (a device name such as "CON"
// counts as no file).
class Win32FileSystem : public FileSystem {
 public:
  PathStyle Style() const override { return PathStyle::Windows; }
  std::optional<std::vector<std::string>> ListFiles(const std::string& pattern) override;
  bool HasEntry(const std::string& pattern) override;
  std::optional<int> Attributes(const std::string& path) override;
  bool CanOpenForRead(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override;
  std::optional<FileStamp> Stamp(const std::string& path) override;
  WriteOutcome ReplaceFile(const std::string& path, std::string_view bytes) override;
};

// The program's folder from the module's file name (a drive root keeps its
// backslash, "C:\"); the user's settings folder %APPDATA%\Orvel.
class Win32Locations : public Locations {
 public:
  std::string ProgramFolder() override;
  std::string UserSettingsFolder() override;
};

class Win32Clock : public Clock {
 public:
  std::int64_t MonotonicMs() override;
  std::uint64_t SeedFromTime() override;
};

// Windows by title, the version query, system parameters and the pointer
// go straight to the system. The password dialog comes from mpr.dll, which
// offers it only on the 9x family: the library is loaded when the dialog is
// asked for, never at start.
class Win32System : public System {
 public:
  bool WindowExists(const std::string& title) override;
  VersionInfo QueryVersion() override;
  bool SetSystemParameter(unsigned action, std::int32_t parameter) override;
  int ShowCursor(bool show) override;
  void ChangePassword(const std::string& provider, std::int32_t parentWindow) override;
};

// All of the above, for the program.
struct Win32Platform {
  Win32Platform() = default;
  // `platform` refers to the members: a copy would refer to the original's.
  Win32Platform(const Win32Platform&) = delete;
  Win32Platform& operator=(const Win32Platform&) = delete;

  Win32FileSystem files;
  Win32Locations locations;
  Win32Clock clock;
  Win32System system;
  Platform platform{files, locations, clock, system};
};

}  // namespace orvel
