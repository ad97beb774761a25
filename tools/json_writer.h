// A small JSON writer for the tool's reports.
#pragma once

#include <string>
#include <string_view>

namespace orvel {

// The text as a JSON string literal, quotes included. Bytes that are not
// valid UTF-8 come out as U+FFFD, so the result is always valid JSON.
std::string JsonString(std::string_view text);

// Builds one JSON object, member by member, on one line.
class JsonObject {
 public:
  JsonObject& Member(std::string_view name, std::string_view rawJson);
  JsonObject& Member(std::string_view name, long long number);
  JsonObject& String(std::string_view name, std::string_view text);
  std::string Close() const { return text_ + "}"; }

 private:
  std::string text_ = "{";
};

}  // namespace orvel
