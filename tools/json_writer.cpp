#include "json_writer.h"

#include <cstdio>

#include "settings/utf8.h"

namespace orvel {

std::string JsonString(std::string_view text) {
  std::string out = "\"";
  while (!text.empty()) {
    std::size_t length = 0;
    if (!NextUtf8(text, length)) {
      out += "\uFFFD";
      text.remove_prefix(1);
      continue;
    }
    char c = text[0];
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (static_cast<unsigned char>(c) < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", static_cast<unsigned char>(c));
      out += escaped;
    } else {
      out.append(text.substr(0, length));
    }
    text.remove_prefix(length);
  }
  return out + "\"";
}

JsonObject& JsonObject::Member(std::string_view name, std::string_view rawJson) {
  if (text_.size() > 1) text_ += ", ";
  text_ += JsonString(name);
  text_ += ": ";
  text_ += rawJson;
  return *this;
}

JsonObject& JsonObject::Member(std::string_view name, long long number) {
  return Member(name, std::to_string(number));
}

JsonObject& JsonObject::String(std::string_view name, std::string_view text) {
  return Member(name, JsonString(text));
}

}  // namespace orvel
