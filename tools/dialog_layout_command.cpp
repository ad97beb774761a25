// orvel-tool dialog-layout: where every control of the settings dialog lies
// in the client area, one "Name x y w h" line each, in the order of the
// table, so that tests click by the dialog's own table.
#include <charconv>
#include <cstdio>
#include <string>

#include "commands.h"
#include "dialog/dialog_layout.h"

namespace orvel {
namespace {

constexpr const char* kUsage = "dialog-layout [--scale S]";

}  // namespace

int DialogLayoutCommand(const Arguments& arguments) {
  double scale = 1;
  if (arguments.size() == 2 && arguments[0] == "--scale") {
    const std::string& text = arguments[1];
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), scale);
    if (error != std::errc() || end != text.data() + text.size() || !(scale > 0 && scale <= 16)) {
      return UsageError(kUsage);
    }
  } else if (!arguments.empty()) {
    return UsageError(kUsage);
  }
  for (const ControlEntry& entry : DialogControls()) {
    const Rect rect = ScaleRect(ClientRect(entry.id), scale);
    std::printf("%.*s %d %d %d %d\n", static_cast<int>(entry.name.size()), entry.name.data(),
                rect.x, rect.y, rect.w, rect.h);
  }
  return std::fflush(stdout) == 0 ? 0 : 1;
}

}  // namespace orvel
