#include "settings/settings_store.h"

#include <algorithm>
#include <optional>

#include "settings/ini_text.h"
#include "settings/numbers.h"
#include "settings/paths.h"
#include "settings/utf8.h"

namespace orvel {
namespace {

constexpr std::size_t kMaxNameChars = 127;  // section and key buffers hold 128 with their NUL

// Every key that loading reads.
constexpr std::array<std::string_view, 11> kLoadedKeys = {
    SettingsKey::PictureOrder,    SettingsKey::PictureSize,     SettingsKey::ChangeInterval,
    SettingsKey::PictureKinds[0], SettingsKey::PictureKinds[1], SettingsKey::PictureKinds[2],
    SettingsKey::PictureKinds[3], SettingsKey::PictureFolder,   SettingsKey::BgmKind,
    SettingsKey::BgmRepeatTrack,  SettingsKey::BgmFile};

// The settings file's bytes. `exists` tells a missing file (the defaults)
// from one that is there but cannot be read.
struct StoredFile {
  std::optional<std::string> bytes;
  bool exists = false;
};

StoredFile ReadStoredFile(const std::string& file, FileSystem& files) {
  StoredFile stored{files.ReadFile(file, kMaxIniFileBytes)};
  stored.exists = stored.bytes || files.Attributes(file);
  return stored;
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

// One number setting from its stored text. An empty text gives the default;
// text that is not a number, or a number outside 16 bits, leaves the field
// as it was.
void ReadNumber(std::int16_t& field, std::string_view text, std::int16_t fallback,
                Rounding rounding = Rounding::Down) {
  if (text.empty()) {
    field = fallback;
    return;
  }
  if (std::optional<std::int16_t> value = ParseInt16(text, rounding)) field = *value;
}

}  // namespace

ValueFault StoredValueFault(std::string_view value) {
  if (!IsValidUtf8(value)) return ValueFault::NotText;
  if (value.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos) {
    return ValueFault::LineBreak;
  }
  if (!FitsIniValue(value)) return ValueFault::TooLong;
  return ValueFault::None;
}

std::string IniFilePath(Locations& locations, FileSystem& files) {
  const char separator = Separator(files.Style());
  std::string portable = locations.ProgramFolder() + separator + std::string(kIniFileName);
  if (FileExists(portable, files)) return portable;
  return locations.UserSettingsFolder() + separator + std::string(kIniFileName);
}

std::string ReadIniString(std::string_view section, std::string_view key, const std::string& file,
                          FileSystem& files) {
  std::optional<std::string> bytes = files.ReadFile(file, kMaxIniFileBytes);
  if (!bytes) return {};
  return ReadIniValues(*bytes, section, std::span(&key, 1)).front();
}

bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                    const std::string& file, FileSystem& files) {
  const IniEntry entry{key, std::string(value)};
  return WriteIniStrings(section, std::span(&entry, 1), file, files).outcome.ok;
}

IniWriteResult WriteIniStrings(std::string_view section, std::span<const IniEntry> entries,
                               const std::string& file, FileSystem& files) {
  IniWriteResult result;
  auto refuse = [&result](std::string why) {
    result.outcome = WriteOutcome::Failed(std::move(why));
    return result;
  };
  if (!IsValidUtf8(section)) return refuse("The section name is not valid text");
  section = FirstUtf8Chars(section, kMaxNameChars);
  if (IsUnsafeName(section, false)) return refuse("The section name cannot be stored");
  // A file that exists but cannot be read (or is too large to be a settings
  // file) must not be replaced by a file holding only these values.
  StoredFile stored = ReadStoredFile(file, files);
  if (!stored.bytes && stored.exists) return refuse("The file cannot be read");
  std::string updated = stored.bytes.value_or("");
  const IniEncoding before = DetectIniEncoding(updated);
  for (const IniEntry& entry : entries) {
    const ValueFault fault = StoredValueFault(entry.value);
    if (!IsValidUtf8(entry.key) || fault == ValueFault::NotText) {
      return refuse("A value is not valid text");
    }
    const std::string_view key = FirstUtf8Chars(entry.key, kMaxNameChars);
    if (IsUnsafeName(key, true) || fault == ValueFault::LineBreak) {
      return refuse("A value holds a line break");
    }
    std::optional<std::string> next = WriteIniValue(updated, section, key, entry.value);
    if (!next) return refuse("The file's text cannot be converted");
    updated = std::move(*next);
  }
  // A file grown past the limit would no longer load at all.
  if (updated.size() > kMaxIniFileBytes) return refuse("The file would grow too large");
  result.outcome = files.ReplaceFile(file, updated);
  result.movedToUtf8 = result.outcome.ok && before != IniEncoding::Utf8WithMark &&
                       DetectIniEncoding(updated) == IniEncoding::Utf8WithMark;
  return result;
}

bool LoadSettings(SaverSettings& settings, ImageCatalogue& catalogue, Platform& platform) {
  return LoadSettings(settings, catalogue, IniFilePath(platform.locations, platform.files),
                      platform.files);
}

bool LoadSettings(SaverSettings& settings, ImageCatalogue& catalogue, const std::string& iniFile,
                  FileSystem& files) {
  // The file is read and parsed once; an unreadable one gives the defaults.
  const StoredFile stored = ReadStoredFile(iniFile, files);
  std::vector<std::string> values(kLoadedKeys.size());
  if (stored.bytes) values = ReadIniValues(*stored.bytes, kSettingsSection, kLoadedKeys);
  auto text = [&](std::string_view key) -> const std::string& {
    return values[static_cast<std::size_t>(std::find(kLoadedKeys.begin(), kLoadedKeys.end(), key) -
                                           kLoadedKeys.begin())];
  };

  ReadNumber(settings.PictureOrder, text(SettingsKey::PictureOrder), 0);
  ReadNumber(settings.PictureSize, text(SettingsKey::PictureSize), 1);
  // The interval has always been rounded to the nearest second, ties to even.
  ReadNumber(settings.ChangeInterval, text(SettingsKey::ChangeInterval), 10, Rounding::HalfEven);
  for (std::size_t i = 0; i < settings.PictureKinds.size(); ++i) {
    ReadNumber(settings.PictureKinds[i], text(SettingsKey::PictureKinds[i]), 1);
  }

  catalogue.ImageCount = 0;
  settings.PictureFolder = text(SettingsKey::PictureFolder);
  if (!settings.PictureFolder.empty()) {
    if (FolderExists(settings.PictureFolder, files)) {
      BuildCatalogue(catalogue, settings.PictureFolder, settings.PictureKinds, files);
    } else {
      settings.PictureFolder.clear();
    }
  }

  ReadNumber(settings.BgmKind, text(SettingsKey::BgmKind), 0);
  ReadNumber(settings.BgmRepeatTrack, text(SettingsKey::BgmRepeatTrack), 0);

  settings.BgmFile = text(SettingsKey::BgmFile);
  if (!settings.BgmFile.empty() && !FileExists(settings.BgmFile, files)) settings.BgmFile.clear();
  if (settings.BgmFile.empty() && settings.BgmKind == 2) settings.BgmKind = 0;
  return stored.bytes || !stored.exists;
}

bool FileExists(const std::string& path, FileSystem& files) {
  std::string_view tested = path;
  if (tested.ends_with(Separator(files.Style()))) tested.remove_suffix(1);
  return files.CanOpenForRead(std::string(tested));
}

}  // namespace orvel
