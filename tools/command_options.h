// Reading the command line of orvel-tool's commands: flags with one value
// each, numbers within a range, screen sizes.
#pragma once

#include <charconv>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "commands.h"

namespace orvel {

// The largest screen side the commands accept, in pixels.
inline constexpr int kMaxScreenSide = 16384;

struct ParsedArguments {
  std::map<std::string, std::string, std::less<>> values;  // flag -> its value
  std::vector<std::string> words;                          // everything else, in order

  bool Has(std::string_view flag) const { return values.find(flag) != values.end(); }
  const std::string& Value(std::string_view flag) const { return values.find(flag)->second; }
};

// Splits the arguments into the given flags ("--out"), each followed by one
// value, and the other words. nullopt for a word starting with "--" that is
// not one of the flags, a flag without its value, or a flag given twice.
std::optional<ParsedArguments> ParseFlags(const Arguments& arguments,
                                          std::initializer_list<std::string_view> flags);

// A whole decimal number (an optional "-", then digits only) from min to max.
template <typename Number>
std::optional<Number> ParseWholeNumber(std::string_view text, Number min, Number max) {
  Number value{};
  const char* end = text.data() + text.size();
  auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || value < min || value > max) {
    return std::nullopt;
  }
  return value;
}

struct ScreenSize {
  int width = 0;
  int height = 0;
};

// "WxH": two whole numbers from 1 to kMaxScreenSide.
std::optional<ScreenSize> ParseScreenSize(std::string_view text);

// Prints "orvel-tool <command>: <message>" on stderr and returns 1, the
// status for an input that cannot be read or an output that cannot be
// written.
int FileError(std::string_view command, const std::string& message);

// A path as it appears in messages: in double quotes.
std::string Quoted(const std::string& path);

}  // namespace orvel
