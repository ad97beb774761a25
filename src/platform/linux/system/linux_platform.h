// The Linux platform's services.
#pragma once

#include "platform/platform.h"

namespace orvel {

// The real file system. Patterns match without regard to letter case, as
// cameras write ".JPG"; every regular, visible file has the attribute
// value 0; hidden files (leading dot), folders and special files are never
// listed.
class LinuxFileSystem : public FileSystem {
 public:
  PathStyle Style() const override { return PathStyle::Posix; }
  std::optional<std::vector<std::string>> ListFiles(const std::string& pattern) override;
  bool HasEntry(const std::string& pattern) override;
  std::optional<int> Attributes(const std::string& path) override;
  bool CanOpenForRead(const std::string& path) override;
  std::optional<std::string> ReadFile(const std::string& path, std::size_t maxBytes) override;
  std::optional<FileStamp> Stamp(const std::string& path) override;
  WriteOutcome ReplaceFile(const std::string& path, std::string_view bytes) override;
};

// The program's folder from /proc/self/exe; the user's settings folder
// $XDG_CONFIG_HOME/orvel, or ~/.config/orvel.
class LinuxLocations : public Locations {
 public:
  std::string ProgramFolder() override;
  std::string UserSettingsFolder() override;
};

class LinuxClock : public Clock {
 public:
  std::int64_t MonotonicMs() override;
  std::uint64_t SeedFromTime() override;
};

// Linux has no screen-saver host: there is no 9x family, no system flag to
// set and no password provider. Windows are looked up by title on the X
// display; the pointer's display count is kept here, and the saver window
// hides the pointer while it is below 0.
class LinuxSystem : public System {
 public:
  bool WindowExists(const std::string& title) override;
  VersionInfo QueryVersion() override;
  bool SetSystemParameter(unsigned action, std::int32_t parameter) override;
  int ShowCursor(bool show) override;
  void ChangePassword(const std::string& provider, std::int32_t parentWindow) override;

  int CursorDisplayCount() const { return cursorCount_; }

 private:
  int cursorCount_ = 0;
};

// All of the above, for the program and the tools.
struct LinuxPlatform {
  LinuxPlatform() = default;
  // `platform` refers to the members: a copy would refer to the original's.
  LinuxPlatform(const LinuxPlatform&) = delete;
  LinuxPlatform& operator=(const LinuxPlatform&) = delete;

  LinuxFileSystem files;
  LinuxLocations locations;
  LinuxClock clock;
  LinuxSystem system;
  Platform platform{files, locations, clock, system};
};

}  // namespace orvel
