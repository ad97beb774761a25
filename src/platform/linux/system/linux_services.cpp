#include <unistd.h>

#include <chrono>
#include <cstdlib>

#include "platform/linux/system/linux_platform.h"
#include "platform/linux/system/x11_windows.h"

namespace orvel {

std::string LinuxLocations::ProgramFolder() {
  std::string path(4096, '\0');
  ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
  if (length <= 0) return ".";
  path.resize(static_cast<std::size_t>(length));
  std::size_t slash = path.rfind('/');
  return slash == 0 ? "/" : path.substr(0, slash);
}

std::string LinuxLocations::UserSettingsFolder() {
  const char* config = std::getenv("XDG_CONFIG_HOME");
  if (config != nullptr && config[0] == '/') return std::string(config) + "/orvel";
  const char* home = std::getenv("HOME");
  return std::string(home != nullptr ? home : "") + "/.config/orvel";
}

std::int64_t LinuxClock::MonotonicMs() {
  using namespace std::chrono;
  return duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
}

std::uint64_t LinuxClock::SeedFromTime() {
  using namespace std::chrono;
  return static_cast<std::uint64_t>(
      duration_cast<nanoseconds>(system_clock::now().time_since_epoch()).count());
}

bool LinuxSystem::WindowExists(const std::string& title) { return X11WindowExists(title); }

VersionInfo LinuxSystem::QueryVersion() { return {1, 2}; }

bool LinuxSystem::SetSystemParameter(unsigned, std::int32_t) { return true; }

int LinuxSystem::ShowCursor(bool show) { return cursorCount_ += show ? 1 : -1; }

void LinuxSystem::ChangePassword(const std::string&, std::int32_t) {}

}  // namespace orvel
