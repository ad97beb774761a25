#include "settings/ini_text.h"

#include <algorithm>

#include "settings/ini_codec.h"
#include "settings/shift_jis.h"
#include "settings/utf8.h"

namespace orvel {
namespace {

constexpr std::string_view kUtf8Mark = "\xEF\xBB\xBF";
constexpr std::size_t kMaxValueBytes = 255;  // the read buffer held 256 bytes with its NUL

std::string_view UpToNul(std::string_view text) { return text.substr(0, text.find('\0')); }

// At most 255 bytes of a Shift-JIS value, never ending inside a pair.
std::string_view CutShiftJis(std::string_view text) {
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t step = IsShiftJisLeadByte(static_cast<unsigned char>(text[end])) ? 2 : 1;
    if (end + step > kMaxValueBytes) break;
    end += step;
  }
  return text.substr(0, end);
}

// A UTF-8 value cut where the same value stored in Shift-JIS would be: each
// character counts the bytes it takes there. A character that Shift-JIS
// cannot hold counts as one byte, the "?" a Shift-JIS writer puts in its
// place; so does a byte that is not UTF-8.
std::string_view CutUtf8(std::string_view text) {
  std::size_t width = 0;
  std::size_t end = 0;
  while (end < text.size()) {
    std::size_t next = end;
    std::optional<char32_t> c = NextUtf8(text, next);
    const auto step = static_cast<std::size_t>(c ? std::max(ShiftJisWidth(*c), 1) : 1);
    if (!c) next = end + 1;
    if (width + step > kMaxValueBytes) break;
    width += step;
    end = next;
  }
  return text.substr(0, end);
}

bool IsAscii(std::string_view text) {
  return std::all_of(text.begin(), text.end(),
                     [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

}  // namespace

bool FitsIniValue(std::string_view value) { return CutUtf8(value).size() == value.size(); }

IniEncoding DetectIniEncoding(std::string_view file) {
  if (file.starts_with(kUtf8Mark)) return IniEncoding::Utf8WithMark;
  if (!IsAscii(file) && IsValidUtf8(file)) return IniEncoding::Utf8;
  return IniEncoding::ShiftJis;
}

std::vector<std::string> ReadIniValues(std::string_view file, std::string_view section,
                                       std::span<const std::string_view> keys) {
  std::vector<std::string> values(keys.size());
  const IniEncoding encoding = DetectIniEncoding(file);
  if (encoding != IniEncoding::ShiftJis) {
    if (encoding == IniEncoding::Utf8WithMark) file.remove_prefix(kUtf8Mark.size());
    std::vector<std::optional<std::string>> found = FindIniValues(file, section, keys, false);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (found[i]) values[i] = UpToNul(CutUtf8(*found[i]));
    }
    return values;
  }

  // A name that Shift-JIS cannot hold cannot stand in a Shift-JIS file.
  std::optional<std::string> fileSection = Utf8ToShiftJis(section);
  if (!fileSection) return values;
  std::vector<std::string> fileKeys;
  std::vector<std::size_t> asked;  // the index in `keys` of each of `fileKeys`
  for (std::size_t i = 0; i < keys.size(); ++i) {
    if (std::optional<std::string> key = Utf8ToShiftJis(keys[i])) {
      fileKeys.push_back(std::move(*key));
      asked.push_back(i);
    }
  }
  const std::vector<std::string_view> keyViews(fileKeys.begin(), fileKeys.end());
  std::vector<std::optional<std::string>> found = FindIniValues(file, *fileSection, keyViews, true);
  for (std::size_t i = 0; i < asked.size(); ++i) {
    if (found[i]) values[asked[i]] = ShiftJisToUtf8(UpToNul(CutShiftJis(*found[i])));
  }
  return values;
}

std::optional<std::string> WriteIniValue(std::string_view file, std::string_view section,
                                         std::string_view key, std::string_view value) {
  switch (DetectIniEncoding(file)) {
    case IniEncoding::Utf8:
      return SetIniValue(file, section, key, value, false);
    case IniEncoding::Utf8WithMark:
      return std::string(kUtf8Mark) +
             SetIniValue(file.substr(kUtf8Mark.size()), section, key, value, false);
    case IniEncoding::ShiftJis:
      break;
  }
  std::optional<std::string> fileSection = Utf8ToShiftJis(section);
  std::optional<std::string> fileKey = Utf8ToShiftJis(key);
  std::optional<std::string> fileValue = Utf8ToShiftJis(value);
  if (fileSection && fileKey && fileValue) {
    return SetIniValue(file, *fileSection, *fileKey, *fileValue, true);
  }
  // Rather than mangle the text (an accented or emoji folder name, say), the
  // whole file moves to UTF-8, which is only safe when its present text
  // converts without loss.
  bool complete = false;
  std::string converted = ShiftJisToUtf8(file, &complete);
  if (!complete) return std::nullopt;
  return std::string(kUtf8Mark) + SetIniValue(converted, section, key, value, false);
}

}  // namespace orvel
