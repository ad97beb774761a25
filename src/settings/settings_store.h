// The settings file: where it lives, reading and writing one value, and
// loading every setting at start-up.
#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "platform/platform.h"
#include "settings/image_catalogue.h"
#include "settings/saver_settings.h"

namespace orvel {

// The settings file's name, section and keys (UTF-8; stored as Shift-JIS).
inline constexpr std::string_view kIniFileName = "Orvel.ini";
inline constexpr std::string_view kSettingsSection = "Section";
namespace SettingsKey {
inline constexpr std::string_view PictureOrder = "画像ﾁｪﾝｼﾞ";
inline constexpr std::string_view PictureSize = "画像のｻｲｽﾞ";
inline constexpr std::string_view ChangeInterval = "ｲﾝﾀｰﾊﾞﾙ";
inline constexpr std::string_view PictureFolder = "画像のﾌｫﾙﾀﾞ";
inline constexpr std::array<std::string_view, 4> PictureKinds = {"画像種類_0", "画像種類_1",
                                                                 "画像種類_2", "画像種類_3"};
inline constexpr std::string_view BgmKind = "BGM区分";
inline constexpr std::string_view BgmRepeatTrack = "BGMﾘﾋﾟｰﾄ";
inline constexpr std::string_view BgmFile = "BGMﾌｧｲﾙ";
}  // namespace SettingsKey

// A settings file is a few hundred bytes; a larger one than this is
// refused as unreadable, and never written over.
inline constexpr std::size_t kMaxIniFileBytes = 1 << 20;

// The settings file beside the program when it exists there (a portable
// install), otherwise the one in the user's settings folder.
std::string IniFilePath(Locations& locations, FileSystem& files);

// The value stored under key (UTF-8), cut as a 256-byte read buffer of the
// Shift-JIS file would cut it (at most 255 Shift-JIS bytes); "" when the
// file, the section or the key is missing or the file cannot be read.
std::string ReadIniString(std::string_view section, std::string_view key, const std::string& file,
                          FileSystem& files);

// Stores one value (UTF-8), creating the file, section and key as needed,
// in the file's own encoding. True when the value was stored; the old file
// is left whole otherwise (a file that cannot be read, or is read-only, is
// never replaced).
bool WriteIniString(std::string_view section, std::string_view key, std::string_view value,
                    const std::string& file, FileSystem& files);

// What keeps a value from reading back from the settings file as it was
// written: bytes that are not UTF-8 (no encoding of the file holds them), a
// line break or NUL (the value's line would split or end there), or more
// than the 255 Shift-JIS bytes a read gives back. Writes refuse the first
// two; the third is stored and read back cut.
enum class ValueFault { None, NotText, LineBreak, TooLong };
ValueFault StoredValueFault(std::string_view value);

// One key and its value (UTF-8).
struct IniEntry {
  std::string_view key;
  std::string value;
};

struct IniWriteResult {
  WriteOutcome outcome;
  // The file had to move to UTF-8 with a byte-order mark to hold a value
  // that Shift-JIS cannot: older copies of the program cannot read it.
  bool movedToUtf8 = false;
};

// Stores the values in the section, in their order, with one replacement of
// the file: all of them are stored, or none is and the file stays as it
// was. The same rules as WriteIniString; a refusal says why.
IniWriteResult WriteIniStrings(std::string_view section, std::span<const IniEntry> entries,
                               const std::string& file, FileSystem& files);

// Fills the settings from the file and builds the catalogue of the folder.
// A missing file gives the defaults; so does one that exists but cannot be
// read, and then the result is false.
bool LoadSettings(SaverSettings& settings, ImageCatalogue& catalogue, Platform& platform);

// The same from a given settings file.
bool LoadSettings(SaverSettings& settings, ImageCatalogue& catalogue, const std::string& iniFile,
                  FileSystem& files);

// Whether the file can be opened for reading (a trailing separator is
// ignored for the test).
bool FileExists(const std::string& path, FileSystem& files);

}  // namespace orvel
