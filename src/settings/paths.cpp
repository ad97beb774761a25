#include "settings/paths.h"

#include "settings/ascii.h"

namespace orvel {
namespace {

bool IsSeparator(char c, PathStyle style) {
  return style == PathStyle::Windows ? (c == '\\' || c == ':') : c == '/';
}

std::size_t AfterLastSeparator(std::string_view path, PathStyle style) {
  for (std::size_t i = path.size(); i > 0; --i) {
    if (IsSeparator(path[i - 1], style)) return i;
  }
  return 0;
}

}  // namespace

char Separator(PathStyle style) { return style == PathStyle::Windows ? '\\' : '/'; }

std::string AddBackslash(std::string_view path, PathStyle style) {
  while (!path.empty() && path.back() == ' ') path.remove_suffix(1);
  std::string result(path);
  if (result.empty() || result.back() != Separator(style)) result += Separator(style);
  return result;
}

std::string FolderPart(std::string_view path, PathStyle style) {
  std::string_view folder = path.substr(0, AfterLastSeparator(path, style));
  if (!folder.empty() && folder.back() == Separator(style)) folder.remove_suffix(1);
  return std::string(folder);
}

std::string NamePart(std::string_view path, PathStyle style) {
  return std::string(path.substr(AfterLastSeparator(path, style)));
}

bool WildcardMatch(std::string_view name, std::string_view pattern, bool ignoreCase) {
  auto same = [ignoreCase](char a, char b) {
    return ignoreCase ? AsciiLower(a) == AsciiLower(b) : a == b;
  };
  // Greedy match with one backtrack point: the last "*" seen.
  std::size_t n = 0, p = 0, starP = std::string_view::npos, starN = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      starP = p++;
      starN = n;
    } else if (p < pattern.size() && (pattern[p] == '?' || same(pattern[p], name[n]))) {
      ++p;
      ++n;
    } else if (starP != std::string_view::npos) {
      p = starP + 1;
      n = ++starN;
    } else {
      return false;
    }
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

}  // namespace orvel
