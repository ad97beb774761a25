#include "settings/settings_store.h"

#include <optional>

#include "settings/ini_codec.h"
#include "settings/numbers.h"
#include "settings/paths.h"
#include "settings/shift_jis.h"
#include "settings/utf8.h"

namespace orvel {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t kMaxValueBytes = 255;  // the read buffer holds 256 bytes with its NUL
constexpr std::size_t kMaxNameChars = 127;   // section and key buffers hold 128 with their NUL

// At most `limit` bytes of the text, never ending inside a character.
std::string_view CutBytes(std::string_view text, std::size_t limit, bool shiftJis) {
  if (text.size() <= limit) return text;
  if (!shiftJis) {
    std::size_t end = limit;
    while (end > 0 && !StartsUtf8Character(text[end])) --end;
    return text.substr(0, end);
  }
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t step = IsShiftJisLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + step > limit) break;
    end += step;
  }
  return text.substr(0, end);
}

// A section or key that the file could not give back as it was written:
// line breaks and NULs would split or end the line, "=" would end a key,
// "]" would end a section, and a key starting with ";" or "[" would read as
// a comment or a header.
bool IsUnsafeName(std::string_view name, bool isKey) {
  if (name.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) return true;
  std::size_t first = name.find_first_not_of(" \t");
  if (first == std::string_view::npos) return true;
  if (!isKey) return name.find(']') != std::string_view::npos;
  return name.find('=') != std::string_view::npos || name[first] == ';' || name[first] == '[';
}

bool IsUnsafeValue(std::string_view value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Reads one number key into `field`. An empty value gives the default; text
// that is not a number, or a number outside 16 bits, leaves the field as it
// was.
void ReadNumber(std::int16_t& field, std::string_view key, std::int16_t fallback, Rounding rounding,
                const std::string& iniFile, FileSystem& files) {
  std::string text = ReadIniString(kSettingsSection, key, iniFile, files);
  if (text.empty()) {
    field = fallback;
    return;
  }
  if (std::optional<std::int16_t> value = ParseInt16(text, rounding)) field = *value;
}

}  // namespace

std::string IniFilePath(Locations& locations, FileSystem& files) {
  const char separator = Separator(files.Style());
  std::string portable = locations.ProgramFolder() + separator + std::string(kIniFileName);
  if (FileExists(portable, files)) return portable;
  return locations.UserSettingsFolder() + separator + std::string(kIniFileName);
}

std::string ReadIniString(std::string_view section, std::string_view key, const std::string& file,
                          FileSystem& files) {
  std::optional<std::string> bytes = files.ReadFile(file);
  if (!bytes) return {};
  std::string_view text = *bytes;
  const bool utf8 = text.starts_with(kUtf8Mark);
  std::optional<std::string> value;
  if (utf8) {
    text.remove_prefix(kUtf8Mark.size());
    value = FindIniValue(text, section, key, false);
  } else {
    std::optional<std::string> fileSection = Utf8ToShiftJis(section);
    std::optional<std::string> fileKey = Utf8ToShiftJis(key);
    // A name that Shift-JIS cannot hold cannot stand in a Shift-JIS file.
    if (!fileSection || !fileKey) return {};
    value = FindIniValue(text, *fileSection, *fileKey, true);
  }
  if (!value) return {};
  std::string_view stored = CutBytes(*value, kMaxValueBytes, !utf8);
  stored = stored.substr(0, stored.find('\0'));
  return utf8 ? std::string(stored) : ShiftJisToUtf8(stored);
}

bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                    const std::string& file, FileSystem& files) {
  if (!IsValidUtf8(section) || !IsValidUtf8(key) || !IsValidUtf8(value)) return false;
  section = FirstUtf8Chars(section, kMaxNameChars);
  key = FirstUtf8Chars(key, kMaxNameChars);
  if (IsUnsafeName(section, false) || IsUnsafeName(key, true) || IsUnsafeValue(value)) {
    return false;
  }

  std::optional<std::string> old = files.ReadFile(file);
  if (!old) {
    // A missing file starts empty; one that exists but cannot be read must
    // not be replaced by a file holding only this value.
    if (files.Attributes(file)) return false;
    old.emplace();
  }

  std::string updated;
  if (!old->starts_with(kUtf8Mark)) {
    std::optional<std::string> fileSection = Utf8ToShiftJis(section);
    std::optional<std::string> fileKey = Utf8ToShiftJis(key);
    std::optional<std::string> fileValue = Utf8ToShiftJis(value);
    if (fileSection && fileKey && fileValue) {
      updated = SetIniValue(*old, *fileSection, *fileKey, *fileValue, true);
      return files.ReplaceFile(file, updated);
    }
    // Shift-JIS cannot hold the text (an accented or emoji folder name, say):
    // rather than mangle it, the whole file moves to UTF-8, which is only
    // safe when its present text converts without loss.
    bool complete = false;
    std::string converted = ShiftJisToUtf8(*old, &complete);
    if (!complete) return false;
    *old = std::string(kUtf8Mark) + converted;
  }
  std::string_view body = std::string_view(*old).substr(kUtf8Mark.size());
  updated = std::string(kUtf8Mark) + SetIniValue(body, section, key, value, false);
  return files.ReplaceFile(file, updated);
}

void LoadSettings(SaverSettings& settings, ImageCatalogue& catalogue, Platform& platform) {
  LoadSettings(settings, catalogue, IniFilePath(platform.locations, platform.files),
               platform.files);
}

void LoadSettings(SaverSettings& settings, ImageCatalogue& catalogue, const std::string& iniFile,
                  FileSystem& files) {
  auto number = [&](std::int16_t& field, std::string_view key, std::int16_t fallback,
                    Rounding rounding = Rounding::Down) {
    ReadNumber(field, key, fallback, rounding, iniFile, files);
  };
  number(settings.PictureOrder, SettingsKey::PictureOrder, 0);
  number(settings.PictureSize, SettingsKey::PictureSize, 1);
  // The interval has always been rounded to the nearest second, ties to even.
  number(settings.ChangeInterval, SettingsKey::ChangeInterval, 10, Rounding::HalfEven);
  for (std::size_t i = 0; i < settings.PictureKinds.size(); ++i) {
    number(settings.PictureKinds[i], SettingsKey::PictureKinds[i], 1);
  }

  catalogue.ImageCount = 0;
  settings.PictureFolder =
      ReadIniString(kSettingsSection, SettingsKey::PictureFolder, iniFile, files);
  if (!settings.PictureFolder.empty()) {
    if (FolderExists(settings.PictureFolder, files)) {
      BuildCatalogue(catalogue, settings.PictureFolder, settings.PictureKinds, files);
    } else {
      settings.PictureFolder.clear();
    }
  }

  number(settings.BgmKind, SettingsKey::BgmKind, 0);
  number(settings.BgmRepeatTrack, SettingsKey::BgmRepeatTrack, 0);

  settings.BgmFile = ReadIniString(kSettingsSection, SettingsKey::BgmFile, iniFile, files);
  if (!settings.BgmFile.empty() && !FileExists(settings.BgmFile, files)) settings.BgmFile.clear();
  if (settings.BgmFile.empty() && settings.BgmKind == 2) settings.BgmKind = 0;
}

bool FileExists(const std::string& path, FileSystem& files) {
  std::string_view tested = path;
  if (tested.ends_with(Separator(files.Style()))) tested.remove_suffix(1);
  return files.CanOpenForRead(std::string(tested));
}

}  // namespace orvel
