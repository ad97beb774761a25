// Shift-JIS: any bytes decode to well-formed UTF-8; any text that encodes
// decodes back to itself.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "settings/shift_jis.h"
#include "settings/utf8.h"

using namespace orvel;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  bool complete = false;
  if (!IsValidUtf8(ShiftJisToUtf8(bytes, &complete))) std::abort();
  if (std::optional<std::string> encoded = Utf8ToShiftJis(bytes)) {
    if (ShiftJisToUtf8(*encoded, &complete) != bytes || !complete) std::abort();
  }
  return 0;
}
