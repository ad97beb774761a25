// The pieces of a media control command string that every device shares:
// the split into words, keyword comparison without regard to letter case,
// and the error codes with their texts, numbered as the Windows media
// control interface numbers them so that replies look the same everywhere.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvel {

namespace MciError {
constexpr int UnrecognizedKeyword = 259;
constexpr int UnrecognizedCommand = 261;
constexpr int InvalidDeviceName = 263;
constexpr int DeviceOpen = 265;
constexpr int CannotLoadDriver = 266;
constexpr int MissingCommandString = 267;
constexpr int BadInteger = 270;
constexpr int DriverInternal = 272;
constexpr int MissingParameter = 273;
constexpr int FileNotFound = 275;
constexpr int DeviceNotReady = 276;
constexpr int OutOfRange = 282;
constexpr int DuplicateAlias = 289;
constexpr int MissingDeviceName = 292;
constexpr int BadTimeFormat = 293;
constexpr int NoClosingQuote = 294;
constexpr int InvalidFile = 296;
}  // namespace MciError

// The short English text for one of the codes above; nullopt for others.
std::optional<std::string> MciErrorText(int code);

// The words of a command: runs of characters between blanks or tabs, where a
// word that starts with a double quote runs to the next double quote (the
// quotes are dropped, so a quoted path may hold blanks). nullopt when a
// quote is left open.
std::optional<std::vector<std::string>> SplitMciWords(std::string_view command);

// Whether two words are the same keyword, letter case aside (ASCII).
bool SameWord(std::string_view a, std::string_view b);

// The word in lower case (ASCII), for names that are matched without regard
// to case.
std::string LowerWord(std::string_view word);

// A whole number written with digits only (no sign, at most nine digits).
std::optional<std::int64_t> ParseMciNumber(std::string_view text);

}  // namespace orvel
