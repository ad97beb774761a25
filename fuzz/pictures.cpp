// Picture files as the saver loads them: the first byte picks the file's
// ending (BMP, GIF, JPEG or WMF), the rest is the file.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/linux/pictures/pixbuf_pictures.h"

using namespace orvel;

namespace {

// One folder of this process's own for the file each input becomes,
// removed when the process ends.
struct Folder {
  Folder() {
    std::string pattern = "/tmp/orvel-fuzz-XXXXXX";
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    path = pattern;
  }
  ~Folder() { rmdir(path.c_str()); }
  std::string path;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size == 0) return 0;
  static const char* const kEndings[] = {".bmp", ".gif", ".jpg", ".wmf"};
  static const Folder folder;
  const std::string path = folder.path + "/picture" + kEndings[data[0] % 4];
  {
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(data + 1), static_cast<std::streamsize>(size - 1));
  }
  PixbufPictureLoader loader;
  if (std::optional<Image> image = loader.Load(path)) {
    if (image->Width() <= 0 || image->Height() <= 0 ||
        static_cast<long long>(image->Width()) * image->Height() > kMaxPicturePixels) {
      std::abort();
    }
  }
  unlink(path.c_str());
  return 0;
}
