#include "platform/headless/headless_platform.h"

namespace orvel {

HeadlessPlatform::HeadlessPlatform(PathStyle style) : files(style) {
  if (style == PathStyle::Windows) {
    locations.programFolder = "C:\\Program Files\\Orvel";
    locations.userSettingsFolder = "C:\\Users\\me\\AppData\\Roaming\\Orvel";
  } else {
    locations.programFolder = "/usr/lib/orvel";
    locations.userSettingsFolder = "/home/me/.config/orvel";
  }
  files.AddFolder(locations.programFolder);
}

bool HeadlessSystem::WindowExists(const std::string& title) {
  log_.Add("FindWindow " + title);
  return openWindows.contains(title);
}

VersionInfo HeadlessSystem::QueryVersion() {
  log_.Add("QueryVersion");
  return version;
}

bool HeadlessSystem::SetSystemParameter(unsigned action, std::int32_t parameter) {
  log_.Add("SystemParameter " + std::to_string(action) + " " + std::to_string(parameter));
  return true;
}

int HeadlessSystem::ShowCursor(bool show) {
  cursorCount += show ? 1 : -1;
  log_.Add(std::string("ShowCursor ") + (show ? "1" : "0"));
  return cursorCount;
}

void HeadlessSystem::ChangePassword(const std::string& provider, std::int32_t parentWindow) {
  log_.Add("ChangePassword " + provider + " " + std::to_string(parentWindow));
}

}  // namespace orvel
