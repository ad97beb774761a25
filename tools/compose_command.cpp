// orvel-tool compose: the background the slideshow composes from one
// picture, as ShowNextPicture leaves it in Master.
#include <cstdio>
#include <optional>
#include <string>

#include "command_options.h"
#include "commands.h"
#include "platform/linux/pictures/pixbuf_pictures.h"
#include "saver/picture_layout.h"

namespace orvel {
namespace {

constexpr const char* kUsage =
    "compose --screen WxH --picture-size N PICTURE --out OUT.png\n"
    "  W, H: 1..16384; N: -32768..32767, 0 for the picture's own size, any other value fitted\n"
    "  to the screen";

}  // namespace

int ComposeCommand(const Arguments& arguments) {
  const auto parsed = ParseFlags(arguments, {"--screen", "--picture-size", "--out"});
  if (!parsed || parsed->words.size() != 1 || !parsed->Has("--screen") ||
      !parsed->Has("--picture-size") || !parsed->Has("--out")) {
    return UsageError(kUsage);
  }
  const std::optional<ScreenSize> screen = ParseScreenSize(parsed->Value("--screen"));
  const auto pictureSize = ParseWholeNumber(parsed->Value("--picture-size"), -32768, 32767);
  if (!screen || !pictureSize) return UsageError(kUsage);

  const std::string& path = parsed->words[0];
  const std::string& out = parsed->Value("--out");
  // Decoded as the slideshow has it decoded: no larger than it is drawn.
  PixbufPictureLoader loader;
  const std::optional<Picture> picture =
      loader.Decode(path, DrawnSizeOn(screen->width, screen->height, *pictureSize));
  // The saver shows black for a picture it cannot load, and so does this.
  if (!picture) {
    std::fprintf(stderr, "orvel-tool compose: cannot read the picture %s; the screen stays black\n",
                 Quoted(path).c_str());
  }
  Image master(screen->width, screen->height);
  ComposePicture(master, picture ? &*picture : nullptr, *pictureSize);

  if (!SavePng(master, out)) return FileError("compose", "cannot write " + Quoted(out));
  return 0;
}

}  // namespace orvel
