// The seam between the portable core and the operating system: small
// service interfaces, implemented once per platform (headless/, linux/,
// win32/). Nothing here includes an OS header, and nothing here decides
// what the saver does: the services only move files, pixels, events and
// commands.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

// How paths are spelled: "C:\Pics\a.bmp" or "/home/me/Pics/a.bmp".
enum class PathStyle { Windows, Posix };

// File attribute values as the picture scan compares them.
namespace FileAttribute {
constexpr int Normal = 0;
constexpr int ReadOnly = 1;
constexpr int Hidden = 2;
constexpr int System = 4;
constexpr int Directory = 16;
constexpr int Archive = 32;
}  // namespace FileAttribute

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  virtual PathStyle Style() const = 0;

  // The names (without folder) of the files in the folder of `pattern` whose
  // names match its last part ("*" and "?" wildcards), in the order the
  // platform lists them. Folders, hidden and system files are never listed.
  // nullopt when the folder cannot be listed at all.
  virtual std::optional<std::vector<std::string>> ListFiles(const std::string& pattern) = 0;

  // Whether at least one entry, folders included, matches `pattern`.
  virtual bool HasEntry(const std::string& pattern) = 0;

  // The attribute value of a file or folder (a sum of FileAttribute bits);
  // nullopt when it does not exist.
  virtual std::optional<int> Attributes(const std::string& path) = 0;

  // Whether the file can be opened for reading right now.
  virtual bool CanOpenForRead(const std::string& path) = 0;

  // The whole file; nullopt when it is missing or unreadable.
  virtual std::optional<std::string> ReadFile(const std::string& path) = 0;

  // Replaces the file's contents in one step, creating its folder when it is
  // missing: a reader sees the old contents or the new ones, never a mix,
  // and a failure leaves the old file untouched. False on any failure.
  virtual bool ReplaceFile(const std::string& path, std::string_view bytes) = 0;
};

// Where the program and the user's settings live.
class Locations {
 public:
  virtual ~Locations() = default;

  // The folder that holds the program file, as the platform reports it.
  virtual std::string ProgramFolder() = 0;

  // The per-user folder for the settings file (it may not exist yet).
  virtual std::string UserSettingsFolder() = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;

  // Milliseconds on a steady clock that never goes back.
  virtual std::int64_t MonotonicMs() = 0;

  // A value from the time of day, for seeding the random generator.
  virtual std::uint64_t SeedFromTime() = 0;
};

// What the platform's version query answered.
struct VersionInfo {
  int result = 0;      // 1 when the query succeeded
  int platformId = 0;  // 1: the 9x family, 2: the NT family
};

// System services that the start-up and the end of the saver talk to.
class System {
 public:
  virtual ~System() = default;

  // Whether a top-level window with this exact title (UTF-8) exists.
  virtual bool WindowExists(const std::string& title) = 0;

  virtual VersionInfo QueryVersion() = 0;

  // Sets a system parameter (action 97: a screen saver runs when the
  // parameter is non-zero; action 17: screen saving is active).
  virtual bool SetSystemParameter(unsigned action, std::int32_t parameter) = 0;

  // Shows (true) or hides (false) the pointer; returns the new display count.
  virtual int ShowCursor(bool show) = 0;

  // The platform's dialog for changing the screen-saver password of
  // `provider`, owned by the window `parentWindow`.
  virtual void ChangePassword(const std::string& provider, std::int32_t parentWindow) = 0;
};

// The services of one platform, handed to the core as a whole.
struct Platform {
  FileSystem& files;
  Locations& locations;
  Clock& clock;
  System& system;
};

}  // namespace orvel
