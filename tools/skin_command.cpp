// orvel-tool skin: the settings dialog's skin pictures written as PNG files,
// to look at them or to hand them to a designer.
#include <charconv>
#include <cmath>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <system_error>
#include <variant>
#include <vector>

#include "command_options.h"
#include "commands.h"
#include "dialog/skin.h"
#include "platform/linux/pictures/pixbuf_pictures.h"

namespace orvel {
namespace {

constexpr const char* kUsage =
    "skin --out DIR [--scale S]\n"
    "  S: the display scale, a decimal number from 0.5 to 8 (default 1); writes the skin's\n"
    "  pictures as DIR/<name>.png";

std::optional<double> ParseScale(std::string_view text) {
  double value = 0;
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, value);
  if (text.empty() || error != std::errc() || stop != end || !(value >= kMinSkinScale) ||
      !(value <= kMaxSkinScale)) {
    return std::nullopt;
  }
  return value;
}

struct SkinPicture {
  const char* name;
  std::variant<Image, Sprite> picture;
};

std::vector<SkinPicture> SkinPictures(double scale) {
  return {
      {"marble-strip", MarbleStrip(scale)},
      {"heading-bar", HeadingBar(kHeadingBarSize, scale)},
      {"button-face", ButtonFace(false, kButtonFaceSize, scale)},
      {"button-face-pressed", ButtonFace(true, kButtonFaceSize, scale)},
      {"option-mark", OptionMark(false, scale)},
      {"option-mark-chosen", OptionMark(true, scale)},
      {"check-mark", CheckMark(false, scale)},
      {"check-mark-on", CheckMark(true, scale)},
      {"hand-cursor", HandCursor(scale).picture},
      {"window-icon", WindowIcon()},
      {"preview-still", PreviewStill()},
  };
}

}  // namespace

int SkinCommand(const Arguments& arguments) {
  const auto parsed = ParseFlags(arguments, {"--out", "--scale"});
  if (!parsed || !parsed->words.empty() || !parsed->Has("--out")) return UsageError(kUsage);
  const std::optional<double> scale =
      parsed->Has("--scale") ? ParseScale(parsed->Value("--scale")) : 1.0;
  if (!scale) return UsageError(kUsage);

  const std::filesystem::path folder = parsed->Value("--out");
  std::error_code error;
  std::filesystem::create_directories(folder, error);
  if (error || !std::filesystem::is_directory(folder)) {
    return FileError("skin", "cannot create the folder " + Quoted(folder.string()));
  }
  for (const SkinPicture& picture : SkinPictures(*scale)) {
    const std::string path = (folder / (std::string(picture.name) + ".png")).string();
    const bool saved =
        std::visit([&path](const auto& pixels) { return SavePng(pixels, path); }, picture.picture);
    if (!saved) return FileError("skin", "cannot write " + Quoted(path));
  }
  return 0;
}

}  // namespace orvel
