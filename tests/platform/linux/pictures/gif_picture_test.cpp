// GIF pictures through giflib, on files written with giflib's encoder.
#include "platform/linux/pictures/gif_picture.h"

#include <gif_lib.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <string>
#include <vector>

#include "platform/linux/pictures/pixbuf_pictures.h"
#include "temp_folder.h"

namespace orvel {
namespace {

struct GifImage {
  int screenWidth, screenHeight;
  int left, top, width, height;
  bool interlaced, localColours;
  int transparent;  // NO_TRANSPARENT_COLOR for none
};

std::uint32_t Colour(int index, bool local) {
  return local ? Rgb(index * 8, 255 - index * 8, 40) : Rgb(255 - index * 8, 10, index * 8);
}

// The colour index of the image's pixel (x, y): every row and column differs.
int IndexAt(int x, int y) { return (x * 3 + y * 5) % 32; }

ColorMapObject* Palette(bool local) {
  std::vector<GifColorType> colours(32);
  for (int i = 0; i < 32; ++i) {
    const std::uint32_t c = Colour(i, local);
    colours[static_cast<std::size_t>(i)] = {static_cast<GifByteType>(RedOf(c)),
                                            static_cast<GifByteType>(GreenOf(c)),
                                            static_cast<GifByteType>(BlueOf(c))};
  }
  return GifMakeMapObject(32, colours.data());
}

void WriteGif(const std::string& path, const GifImage& g) {
  int error = 0;
  GifFileType* gif = EGifOpenFileName(path.c_str(), false, &error);
  ASSERT_NE(gif, nullptr);
  ColorMapObject* global = Palette(false);
  ColorMapObject* local = g.localColours ? Palette(true) : nullptr;
  // Transparency came with GIF89a; a picture without it is written as GIF87a.
  const bool gif89 = g.transparent != NO_TRANSPARENT_COLOR;
  EGifSetGifVersion(gif, gif89);
  ASSERT_EQ(EGifPutScreenDesc(gif, g.screenWidth, g.screenHeight, 5, 0, global), GIF_OK);
  if (gif89) {
    // A comment first: extensions the reader has no use for are passed over.
    ASSERT_EQ(EGifPutComment(gif, "made by the test"), GIF_OK);
    GraphicsControlBlock control{};
    control.TransparentColor = g.transparent;
    GifByteType block[4];
    const std::size_t size = EGifGCBToExtension(&control, block);
    ASSERT_EQ(EGifPutExtension(gif, GRAPHICS_EXT_FUNC_CODE, static_cast<int>(size), block), GIF_OK);
  }
  ASSERT_EQ(EGifPutImageDesc(gif, g.left, g.top, g.width, g.height, g.interlaced, local), GIF_OK);
  using Passes = std::vector<std::pair<int, int>>;  // first row, step
  std::vector<GifPixelType> line(static_cast<std::size_t>(g.width));
  for (auto [start, step] :
       g.interlaced ? Passes{{0, 8}, {4, 8}, {2, 4}, {1, 2}} : Passes{{0, 1}}) {
    for (int y = start; y < g.height; y += step) {
      for (int x = 0; x < g.width; ++x)
        line[static_cast<std::size_t>(x)] = GifPixelType(IndexAt(x, y));
      ASSERT_EQ(EGifPutLine(gif, line.data(), g.width), GIF_OK);
    }
  }
  EXPECT_EQ(EGifCloseFile(gif, &error), GIF_OK);
  GifFreeMapObject(global);
  if (local != nullptr) GifFreeMapObject(local);
}

TEST(GifPicture, TheFirstImageOnItsScreenInterlacedOrNotWithItsOwnColoursAndTransparency) {
  TempFolder folder;
  PixbufPictureLoader loader;
  const GifImage cases[] = {
      {16, 8, 0, 0, 16, 8, false, false, NO_TRANSPARENT_COLOR},
      {16, 8, 0, 0, 16, 8, true, false, NO_TRANSPARENT_COLOR},
      {20, 11, 3, 2, 13, 7, true, true, 7},
      {20, 11, 5, 4, 9, 6, false, true, 0},
  };
  for (const GifImage& g : cases) {
    SCOPED_TRACE(::testing::Message() << "case " << &g - cases);
    // Named as a JPEG: what the file holds counts, not its name.
    const std::string path = (folder.path() / "picture.jpg").string();
    WriteGif(path, g);
    ASSERT_TRUE(IsGifFile(path));
    const std::optional<Picture> picture = loader.Decode(path, {});
    ASSERT_TRUE(picture);
    ASSERT_EQ(picture->size, (PixelSize{g.screenWidth, g.screenHeight}));
    for (int y = 0; y < g.screenHeight; ++y)
      for (int x = 0; x < g.screenWidth; ++x) {
        const int ix = x - g.left, iy = y - g.top;
        const bool inside = ix >= 0 && ix < g.width && iy >= 0 && iy < g.height;
        const bool shows = inside && IndexAt(ix, iy) != g.transparent;
        ASSERT_EQ(picture->pixels.At(x, y), shows ? Colour(IndexAt(ix, iy), g.localColours) : 0u)
            << x << "," << y;
      }
  }
}

TEST(GifPicture, RefusesWhatItCannotReadWithoutBlocking) {
  TempFolder folder;
  const std::string path = (folder.path() / "picture.gif").string();
  WriteGif(path, {300, 200, 0, 0, 300, 200, false, false, NO_TRANSPARENT_COLOR});
  EXPECT_TRUE(LoadGif(path, 300 * 200));
  EXPECT_FALSE(LoadGif(path, 300 * 200 - 1));  // refused before anything is decoded
  std::filesystem::resize_file(path, std::filesystem::file_size(path) / 2);
  EXPECT_FALSE(LoadGif(path, 1 << 20));
  const std::string fifo = (folder.path() / "fifo.gif").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_FALSE(IsGifFile(fifo));
  EXPECT_FALSE(LoadGif(fifo, 1 << 20));
  EXPECT_FALSE(IsGifFile((folder.path() / "missing.gif").string()));
}

}  // namespace
}  // namespace orvel
