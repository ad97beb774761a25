// The headless platform: every service in memory, each call recorded, for
// tests, tools and benchmarks.
#pragma once

#include <set>
#include <string>

#include "platform/headless/call_log.h"
#include "platform/headless/memory_file_system.h"
#include "platform/platform.h"

namespace orvel {

class FakeClock : public Clock {
 public:
  std::int64_t now = 0;
  std::uint64_t nextSeed = 1;

  void Advance(std::int64_t ms) { now += ms; }
  std::int64_t MonotonicMs() override { return now; }
  std::uint64_t SeedFromTime() override { return nextSeed++; }
};

class FixedLocations : public Locations {
 public:
  std::string programFolder;
  std::string userSettingsFolder;

  std::string ProgramFolder() override { return programFolder; }
  std::string UserSettingsFolder() override { return userSettingsFolder; }
};

class HeadlessSystem : public System {
 public:
  explicit HeadlessSystem(CallLog& log) : log_(log) {}

  std::set<std::string> openWindows;  // titles of the windows that exist
  VersionInfo version{1, 2};          // the NT family unless a test says otherwise
  int cursorCount = 0;                // the pointer's display count

  bool WindowExists(const std::string& title) override;
  VersionInfo QueryVersion() override;
  bool SetSystemParameter(unsigned action, std::int32_t parameter) override;
  int ShowCursor(bool show) override;
  void ChangePassword(const std::string& provider, std::int32_t parentWindow) override;

 private:
  CallLog& log_;
};

struct HeadlessPlatform {
  explicit HeadlessPlatform(PathStyle style = PathStyle::Windows);
  // `platform` refers to the members: a copy would refer to the original's.
  HeadlessPlatform(const HeadlessPlatform&) = delete;
  HeadlessPlatform& operator=(const HeadlessPlatform&) = delete;

  CallLog log;
  MemoryFileSystem files;
  FixedLocations locations;
  FakeClock clock;
  HeadlessSystem system{log};
  Platform platform{files, locations, clock, system};
};

}  // namespace orvel
