// Number text: every parser on any text; a number that parses writes back
// as text that parses to the same number.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/numbers.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  ParseNumber(text);
  ParseInt32Lenient(text);
  for (Rounding rounding : {Rounding::Down, Rounding::HalfEven}) {
    if (std::optional<std::int16_t> value = ParseInt16(text, rounding)) {
      if (ParseInt16(FormatNumber(*value), rounding) != value) std::abort();
    }
  }
  if (std::optional<std::int32_t> value = ParseInt32Strict(text)) {
    if (ParseInt32Strict(FormatNumber(*value)) != value) std::abort();
    if (ParseInt32Lenient(FormatNumber(*value)) != *value) std::abort();
  }
  return 0;
}
