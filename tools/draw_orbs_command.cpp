// orvel-tool draw-orbs: given orbs drawn over a picture, exactly as a frame
// of the saver draws them over its background.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "command_options.h"
#include "commands.h"
#include "platform/linux/pictures/pixbuf_pictures.h"
#include "saver/orb_drawing.h"
#include "saver/orbs.h"

namespace orvel {
namespace {

constexpr const char* kUsage =
    "draw-orbs --background IN --orbs \"X,Y,R,G,B;...\" --out OUT.png\n"
    "  1 to 10 orbs, drawn in the order given; X, Y: whole numbers -32768..32767 (the centre,\n"
    "  may lie off the picture); R, G, B: whole numbers 0..255 (the tint per ring weight)";

// Where an orb that was not given waits: its disc reaches at most 20 pixels
// from its centre, so at the far corner of the orb coordinates it never
// comes near the picture and DrawOrbs writes nothing for it.
constexpr Orb kParkedOrb{-32768, -32768, 0, 0, 0};

std::vector<std::string_view> Split(std::string_view text, char separator) {
  std::vector<std::string_view> parts;
  for (std::size_t start = 0;;) {
    const std::size_t end = text.find(separator, start);
    parts.push_back(text.substr(start, end == std::string_view::npos ? end : end - start));
    if (end == std::string_view::npos) return parts;
    start = end + 1;
  }
}

std::optional<Orbs> ParseOrbs(std::string_view text) {
  const std::vector<std::string_view> items = Split(text, ';');
  if (items.size() > static_cast<std::size_t>(kOrbCount)) return std::nullopt;
  Orbs orbs;
  orbs.fill(kParkedOrb);
  for (std::size_t i = 0; i < items.size(); ++i) {
    const std::vector<std::string_view> fields = Split(items[i], ',');
    if (fields.size() != 5) return std::nullopt;
    const auto x = ParseWholeNumber<std::int16_t>(fields[0], -32768, 32767);
    const auto y = ParseWholeNumber<std::int16_t>(fields[1], -32768, 32767);
    const auto r = ParseWholeNumber<std::int16_t>(fields[2], 0, 255);
    const auto g = ParseWholeNumber<std::int16_t>(fields[3], 0, 255);
    const auto b = ParseWholeNumber<std::int16_t>(fields[4], 0, 255);
    if (!x || !y || !r || !g || !b) return std::nullopt;
    orbs[i] = Orb{*x, *y, *r, *g, *b};
  }
  return orbs;
}

}  // namespace

int DrawOrbsCommand(const Arguments& arguments) {
  const auto parsed = ParseFlags(arguments, {"--background", "--orbs", "--out"});
  if (!parsed || !parsed->words.empty() || !parsed->Has("--background") || !parsed->Has("--orbs") ||
      !parsed->Has("--out")) {
    return UsageError(kUsage);
  }
  const std::optional<Orbs> orbs = ParseOrbs(parsed->Value("--orbs"));
  if (!orbs) return UsageError(kUsage);

  const std::string& in = parsed->Value("--background");
  const std::string& out = parsed->Value("--out");
  PixbufPictureLoader loader;
  const std::optional<Image> background = loader.Load(in);
  if (!background) return FileError("draw-orbs", "cannot read the picture " + Quoted(in));

  // The picture is the whole screen: the composed background, the pixel map
  // taken from it and the display image restored from it.
  const int screenW = background->Width();
  const int screenH = background->Height();
  PixelMap pixels(screenW, screenH);
  CapturePixels(*background, pixels);
  Image display = *background;
  DrawOrbs(display, *orbs, screenW, screenH, pixels);

  if (!SavePng(display, out)) return FileError("draw-orbs", "cannot write " + Quoted(out));
  return 0;
}

}  // namespace orvel
