#include "command_options.h"

#include <algorithm>
#include <cstdio>

namespace orvel {

std::optional<ParsedArguments> ParseFlags(const Arguments& arguments,
                                          std::initializer_list<std::string_view> flags) {
  ParsedArguments parsed;
  for (std::size_t i = 0; i < arguments.size(); ++i) {
    const std::string& word = arguments[i];
    if (word.rfind("--", 0) != 0) {
      parsed.words.push_back(word);
      continue;
    }
    const bool known = std::find(flags.begin(), flags.end(), word) != flags.end();
    if (!known || i + 1 >= arguments.size() || parsed.Has(word)) return std::nullopt;
    parsed.values.emplace(word, arguments[++i]);
  }
  return parsed;
}

std::optional<ScreenSize> ParseScreenSize(std::string_view text) {
  const std::size_t cross = text.find('x');
  if (cross == std::string_view::npos) return std::nullopt;
  const auto width = ParseWholeNumber(text.substr(0, cross), 1, kMaxScreenSide);
  const auto height = ParseWholeNumber(text.substr(cross + 1), 1, kMaxScreenSide);
  if (!width || !height) return std::nullopt;
  return ScreenSize{*width, *height};
}

int FileError(std::string_view command, const std::string& message) {
  std::fprintf(stderr, "orvel-tool %.*s: %s\n", static_cast<int>(command.size()), command.data(),
               message.c_str());
  return 1;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

}  // namespace orvel
