// Path rules shared by the settings file, the picture scan and the
// choosers. Written once for both path styles: Windows paths use "\" (and
// ":" after a drive letter), POSIX paths use "/".
#pragma once

#include <string>
#include <string_view>

#include "platform/platform.h"

namespace orvel {

// "\" or "/".
char Separator(PathStyle style);

// The path with trailing blanks removed and a separator appended unless it
// already ends with one.
std::string AddBackslash(std::string_view path, PathStyle style);

// The path up to its last separator (or, for Windows paths, its last ":"),
// without one trailing separator: "C:\Pics\*.bmp" gives "C:\Pics", "C:\*.bmp"
// gives "C:", and a bare name gives "".
std::string FolderPart(std::string_view path, PathStyle style);

// The part after the last separator (or ":").
std::string NamePart(std::string_view path, PathStyle style);

// Whether `name` matches a pattern of "*" (any run of characters) and "?"
// (any one character). Letter case is ignored for ASCII letters when
// `ignoreCase` is set.
bool WildcardMatch(std::string_view name, std::string_view pattern, bool ignoreCase);

}  // namespace orvel
