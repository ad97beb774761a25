#include "platform/linux/music/mci_command.h"

#include <algorithm>

#include "settings/ascii.h"

namespace orvel {

std::optional<std::string> MciErrorText(int code) {
  switch (code) {
    case MciError::UnrecognizedKeyword:
      return "The command holds a keyword that the device does not know.";
    case MciError::UnrecognizedCommand:
      return "The command is not known.";
    case MciError::InvalidDeviceName:
      return "The device is not open or its name is not known.";
    case MciError::DeviceOpen:
      return "The device is already open under this name; choose another alias.";
    case MciError::CannotLoadDriver:
      return "The driver of the device cannot be loaded.";
    case MciError::MissingCommandString:
      return "No command was given.";
    case MciError::BadInteger:
      return "A number in the command is missing or not a whole number.";
    case MciError::DriverInternal:
      return "The device failed inside its driver.";
    case MciError::MissingParameter:
      return "The command lacks a value that it needs.";
    case MciError::FileNotFound:
      return "The file was not found.";
    case MciError::DeviceNotReady:
      return "The device is not ready: there may be no disc in the drive.";
    case MciError::OutOfRange:
      return "A value in the command is out of range.";
    case MciError::DuplicateAlias:
      return "The alias is already in use.";
    case MciError::MissingDeviceName:
      return "No device name was given.";
    case MciError::BadTimeFormat:
      return "The device does not know this time format.";
    case MciError::NoClosingQuote:
      return "A quoted text has no closing quote.";
    case MciError::InvalidFile:
      return "The file cannot be played: it may be damaged or of a kind that cannot be decoded.";
    default:
      return std::nullopt;
  }
}

std::optional<std::vector<std::string>> SplitMciWords(std::string_view command) {
  std::vector<std::string> words;
  std::size_t at = 0;
  auto blank = [](char c) { return c == ' ' || c == '\t'; };
  while (at < command.size()) {
    if (blank(command[at])) {
      ++at;
      continue;
    }
    if (command[at] == '"') {
      std::size_t close = command.find('"', at + 1);
      if (close == std::string_view::npos) return std::nullopt;
      words.emplace_back(command.substr(at + 1, close - at - 1));
      at = close + 1;
      continue;
    }
    std::size_t end = at;
    while (end < command.size() && !blank(command[end])) ++end;
    words.emplace_back(command.substr(at, end - at));
    at = end;
  }
  return words;
}

bool SameWord(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return AsciiLower(x) == AsciiLower(y);
         });
}

std::string LowerWord(std::string_view word) { return AsciiLower(word); }

std::optional<std::int64_t> ParseMciNumber(std::string_view text) {
  if (text.empty() || text.size() > 9) return std::nullopt;
  std::int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

}  // namespace orvel
