// How long the Windows picture loader takes over each file named on the
// command line, decoded as the saver asks for it on a 1920 x 1080 screen:
// fitted to the screen, then at its own size. Run by
// scripts/windows-picture-times.sh.
#include <chrono>
#include <cstdio>

#include "platform/win32/pictures/win32_pictures.h"
#include "saver/picture_layout.h"

int main(int argc, char** argv) {
  orvel::Win32PictureLoader loader;
  for (int i = 1; i < argc; ++i) {
    for (const int pictureSize : {1, 0}) {
      const auto start = std::chrono::steady_clock::now();
      const std::optional<orvel::Picture> picture =
          loader.Decode(argv[i], orvel::DrawnSizeOn(1920, 1080, pictureSize));
      const std::chrono::duration<double, std::milli> took =
          std::chrono::steady_clock::now() - start;
      std::printf("%-40s %-6s %7.0f ms  %s\n", argv[i], pictureSize != 0 ? "fitted" : "own",
                  took.count(), picture ? "" : "(not decoded)");
    }
  }
  return 0;
}
