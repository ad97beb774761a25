#include "settings/ini_codec.h"

#include "settings/ascii.h"
#include "settings/shift_jis.h"

namespace orvel {
namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsLead(char c, bool multiByte) {
  return multiByte && IsShiftJisLeadByte(static_cast<unsigned char>(c));
}

// Names compare without regard to the case of ASCII letters; in Shift-JIS
// text the second byte of a pair is compared exactly, since it may fall in
// the range of the letters without being one.
bool SameName(std::string_view a, std::string_view b, bool multiByte) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (IsLead(a[i], multiByte)) {
      if (a[i] != b[i]) return false;
      if (++i < a.size() && a[i] != b[i]) return false;
    } else if (AsciiLower(a[i]) != AsciiLower(b[i])) {
      return false;
    }
  }
  return true;
}

// One line of the file: its text [begin, end) and its line ending
// [end, next); the last line may have no ending.
struct Line {
  std::size_t begin = 0;
  std::size_t end = 0;
  std::size_t next = 0;
};

// The line that starts at `begin` (before the end of the file).
Line LineAt(std::string_view file, std::size_t begin) {
  std::size_t end = file.find_first_of("\r\n", begin);
  if (end == std::string_view::npos) return {begin, file.size(), file.size()};
  std::size_t next = end + 1;
  if (file[end] == '\r' && next < file.size() && file[next] == '\n') ++next;
  return {begin, end, next};
}

std::string_view TextOf(std::string_view file, const Line& line) {
  return file.substr(line.begin, line.end - line.begin);
}

enum class LineKind { Other, Section, Entry };

struct ParsedLine {
  LineKind kind = LineKind::Other;
  std::string_view name;   // section or key, trimmed
  std::string_view value;  // entries only, trimmed
};

// Blank lines, comments (";") and headers without "]" are Other; a line
// without "=" is not an entry either.
ParsedLine ParseLine(std::string_view text, bool multiByte) {
  text = Trim(text);
  ParsedLine parsed;
  if (text.empty() || text.front() == ';') return parsed;
  if (text.front() == '[') {
    for (std::size_t i = 1; i < text.size(); ++i) {
      if (IsLead(text[i], multiByte)) {
        ++i;
      } else if (text[i] == ']') {
        parsed.kind = LineKind::Section;
        parsed.name = Trim(text.substr(1, i - 1));
        break;
      }
    }
    return parsed;
  }
  // "=" is never the second byte of a Shift-JIS pair.
  std::size_t equals = text.find('=');
  if (equals == std::string_view::npos) return parsed;
  parsed.kind = LineKind::Entry;
  parsed.name = Trim(text.substr(0, equals));
  parsed.value = Trim(text.substr(equals + 1));
  return parsed;
}

bool IsEnclosedInQuotes(std::string_view value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
         value.back() == value.front();
}

// Calls `visit(line, parsed)` for every line of the first section named
// `section` after its header, in order, until the next section starts or
// `visit` returns false; `header` receives the header line. False when the
// file has no such section. One pass over the file, nothing kept.
template <typename Visit>
bool WalkSection(std::string_view file, std::string_view section, bool multiByte, Line& header,
                 Visit visit) {
  section = Trim(section);
  bool inside = false;
  for (std::size_t begin = 0; begin < file.size();) {
    const Line line = LineAt(file, begin);
    begin = line.next;
    const ParsedLine parsed = ParseLine(TextOf(file, line), multiByte);
    if (inside) {
      if (parsed.kind == LineKind::Section || !visit(line, parsed)) break;
    } else if (parsed.kind == LineKind::Section && SameName(parsed.name, section, multiByte)) {
      header = line;
      inside = true;
    }
  }
  return inside;
}

// Where a section and a key stand in the file.
struct Location {
  bool hasSection = false;
  Line last;  // the section's last line that is not blank (at worst, its header)
  std::optional<Line> key;
};

Location Locate(std::string_view file, std::string_view section, std::string_view key,
                bool multiByte) {
  Location where;
  key = Trim(key);
  where.hasSection = WalkSection(
      file, section, multiByte, where.last, [&](const Line& line, const ParsedLine& parsed) {
        if (parsed.kind == LineKind::Entry && SameName(parsed.name, key, multiByte)) {
          where.key = line;
          return false;
        }
        if (!Trim(TextOf(file, line)).empty()) where.last = line;
        return true;
      });
  return where;
}

// The ending of the file's first line; CR LF when no line has one.
std::string_view FirstLineEnding(std::string_view file) {
  std::size_t end = file.find_first_of("\r\n");
  if (end == std::string_view::npos) return "\r\n";
  if (file[end] == '\n') return "\n";
  return file.substr(end + 1, 1) == "\n" ? "\r\n" : "\r";
}

// The entry line for key and value. Reading trims blanks and strips one
// pair of enclosing quotes, so a value that would lose either is written
// inside double quotes and reads back exactly as it was given.
std::string EntryLine(std::string_view key, std::string_view value) {
  std::string line(key);
  line += '=';
  bool quote = !value.empty() &&
               (IsBlank(value.front()) || IsBlank(value.back()) || IsEnclosedInQuotes(value));
  if (quote) line += '"';
  line += value;
  if (quote) line += '"';
  return line;
}

}  // namespace

std::vector<std::optional<std::string>> FindIniValues(std::string_view file,
                                                      std::string_view section,
                                                      std::span<const std::string_view> keys,
                                                      bool multiByte) {
  std::vector<std::optional<std::string>> values(keys.size());
  std::size_t missing = keys.size();
  Line header;
  WalkSection(file, section, multiByte, header, [&](const Line&, const ParsedLine& parsed) {
    if (parsed.kind != LineKind::Entry) return true;
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (values[i] || !SameName(parsed.name, Trim(keys[i]), multiByte)) continue;
      std::string_view value = parsed.value;
      if (IsEnclosedInQuotes(value)) value = value.substr(1, value.size() - 2);
      values[i] = std::string(value);
      --missing;
    }
    return missing != 0;
  });
  return values;
}

std::optional<std::string> FindIniValue(std::string_view file, std::string_view section,
                                        std::string_view key, bool multiByte) {
  return FindIniValues(file, section, std::span(&key, 1), multiByte).front();
}

std::string SetIniValue(std::string_view file, std::string_view section, std::string_view key,
                        std::string_view value, bool multiByte) {
  Location where = Locate(file, section, key, multiByte);
  std::string_view ending = FirstLineEnding(file);
  std::string entry = EntryLine(Trim(key), value);
  std::string result;
  result.reserve(file.size() + entry.size() + section.size() + 8);

  if (where.key) {
    // Replace the key's line, keeping its own ending.
    result.append(file.substr(0, where.key->begin));
    result.append(entry);
    result.append(file.substr(where.key->end));
    return result;
  }

  if (where.hasSection) {
    // A new key goes after the section's last line that is not blank.
    const Line& line = where.last;
    result.append(file.substr(0, line.next));
    if (line.next == line.end) {
      // The file's last line, without a line break of its own.
      result.append(ending);
      result.append(entry);
    } else {
      result.append(entry);
      result.append(ending);
    }
    result.append(file.substr(line.next));
    return result;
  }

  // A new section at the end of the file.
  result.append(file);
  if (!file.empty() && file.back() != '\n' && file.back() != '\r') result.append(ending);
  result += '[';
  result.append(Trim(section));
  result += ']';
  result.append(ending);
  result.append(entry);
  result.append(ending);
  return result;
}

}  // namespace orvel
