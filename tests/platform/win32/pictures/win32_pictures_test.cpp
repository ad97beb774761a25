// Pictures from files made here: BMP and GIF byte by byte, PNG and JPEG by the system's encoders.
#include "platform/win32/pictures/win32_pictures.h"

#include <gtest/gtest.h>
#include <objbase.h>
#include <wincodec.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <initializer_list>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "big_photo_check.h"
#include "saver/picture_layout.h"
#include "temp_folder.h"

namespace orvel {
namespace {

namespace fs = std::filesystem;

std::string Utf8(const fs::path& path) {
  const std::u8string text = path.u8string();
  return std::string(text.begin(), text.end());
}

void Put16(std::string& out, int value) {
  out += static_cast<char>(value & 0xFF);
  out += static_cast<char>((value >> 8) & 0xFF);
}
void Put32(std::string& out, std::uint32_t value) {
  Put16(out, static_cast<int>(value & 0xFFFF));
  Put16(out, static_cast<int>(value >> 16));
}

// A 32-bit BMP of the pixels (rows top first), stored bottom row first.
std::string Bmp(const Image& image) {
  const auto dataSize = static_cast<std::uint32_t>(image.Width() * image.Height() * 4);
  std::string bmp = "BM";  // the headers, the last value one plane of 32 bits
  for (std::uint32_t value :
       {54 + dataSize, 0u, 54u, 40u, static_cast<std::uint32_t>(image.Width()),
        static_cast<std::uint32_t>(image.Height()), 1u | 32u << 16}) {
    Put32(bmp, value);
  }
  for (int i = 0; i < 6; ++i) Put32(bmp, 0);
  for (int y = image.Height() - 1; y >= 0; --y) {
    for (int x = 0; x < image.Width(); ++x) Put32(bmp, image.At(x, y));
  }
  return bmp;
}

// A GIF of four-colour frames (index 3 transparent if asked); a clear code keeps codes 3 bits.
std::string Gif(int width, int height, const std::array<std::uint32_t, 4>& palette,
                const std::vector<std::vector<int>>& frames, bool transparent) {
  std::string gif = "GIF89a";
  Put16(gif, width);
  Put16(gif, height);
  gif += {'\x81', '\0', '\0'};  // a global table of four colours
  for (std::uint32_t colour : palette) {
    gif += {static_cast<char>(RedOf(colour)), static_cast<char>(GreenOf(colour)),
            static_cast<char>(BlueOf(colour))};
  }
  for (const std::vector<int>& indices : frames) {
    gif += {'\x21', '\xF9', '\x04', transparent ? '\x01' : '\0', '\x0A', '\0', '\x03', '\0'};
    gif += '\x2C';  // the image, at the corner, of the whole size
    for (int value : {0, 0, width, height}) Put16(gif, value);
    gif += {'\0', '\x02'};  // codes start from two-bit literals
    std::vector<int> codes;
    for (std::size_t i = 0; i < indices.size(); ++i) {
      if (i % 2 == 0) codes.push_back(4);  // clear
      codes.push_back(indices[i]);
    }
    codes.push_back(5);  // end of information
    std::string data;
    std::uint32_t bits = 0;
    int count = 0;
    for (int code : codes) {
      bits |= static_cast<std::uint32_t>(code) << count;
      for (count += 3; count >= 8; count -= 8, bits >>= 8) data += static_cast<char>(bits & 0xFF);
    }
    if (count > 0) data += static_cast<char>(bits & 0xFF);
    for (std::size_t at = 0; at < data.size(); at += 255) {
      const std::string block = data.substr(at, 255);
      gif += static_cast<char>(block.size());
      gif += block;
    }
    gif += '\0';
  }
  return gif + ';';
}

// Writes BGRA pixels (blue lowest, alpha highest) in the container's format, or fails.
bool Encode(const fs::path& path, const GUID& container, int width, int height,
            std::vector<std::uint32_t> bgra) {
  if (FAILED(CoInitializeEx(nullptr, COINIT_MULTITHREADED))) return false;
  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  IWICBitmap* bitmap = nullptr;
  const UINT stride = static_cast<UINT>(width) * 4;
  const bool written =
      SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                 IID_PPV_ARGS(&factory))) &&
      SUCCEEDED(factory->CreateBitmapFromMemory(
          static_cast<UINT>(width), static_cast<UINT>(height), GUID_WICPixelFormat32bppBGRA, stride,
          stride * static_cast<UINT>(height), reinterpret_cast<BYTE*>(bgra.data()), &bitmap)) &&
      SUCCEEDED(factory->CreateStream(&stream)) &&
      SUCCEEDED(stream->InitializeFromFilename(path.wstring().c_str(), GENERIC_WRITE)) &&
      SUCCEEDED(factory->CreateEncoder(container, nullptr, &encoder)) &&
      SUCCEEDED(encoder->Initialize(stream, WICBitmapEncoderNoCache)) &&
      SUCCEEDED(encoder->CreateNewFrame(&frame, nullptr)) &&
      SUCCEEDED(frame->Initialize(nullptr)) && SUCCEEDED(frame->WriteSource(bitmap, nullptr)) &&
      SUCCEEDED(frame->Commit()) && SUCCEEDED(encoder->Commit());
  for (IUnknown* object : std::initializer_list<IUnknown*>{frame, encoder, stream, bitmap, factory})
    if (object != nullptr) object->Release();
  CoUninitialize();
  return written;
}

const std::array<std::uint32_t, 4> kPalette{Rgb(200, 100, 50), Rgb(0, 0, 255), Rgb(9, 99, 199),
                                            Rgb(255, 255, 0)};

std::uint32_t Bgra(int r, int g, int b, int a) {
  return static_cast<std::uint32_t>(a) << 24 | Rgb(r, g, b);
}

bool Near(std::uint32_t pixel, std::uint32_t expected, int tolerance) {
  return std::abs(RedOf(pixel) - RedOf(expected)) <= tolerance &&
         std::abs(GreenOf(pixel) - GreenOf(expected)) <= tolerance &&
         std::abs(BlueOf(pixel) - BlueOf(expected)) <= tolerance;
}

class Win32Pictures : public ::testing::Test {
 protected:
  std::string Write(const fs::path& name, const std::string& bytes) const {
    std::ofstream(root / name, std::ios::binary) << bytes;
    return Utf8(root / name);
  }

  TempFolder folder;
  const fs::path root = folder.path();
  Win32PictureLoader loader;
  const std::function<std::string(const std::string&, const std::string&)> write =
      [this](const std::string& name, const std::string& bytes) { return Write(name, bytes); };
};

TEST_F(Win32Pictures, ReadsEachFormatWithItsColoursInPlace) {
  // Six colours, each channel alone and mixed, in a folder and file named in Japanese with a blank.
  Image colours(3, 2);
  const std::uint32_t values[] = {Rgb(255, 0, 0), Rgb(0, 255, 0),   Rgb(0, 0, 255),
                                  Rgb(1, 2, 3),   Rgb(250, 128, 7), Rgb(255, 255, 255)};
  for (int i = 0; i < 6; ++i) colours.Set(i % 3, i / 3, values[i]);
  fs::create_directory(root / u8"写真 フォルダ");
  const std::string bmp = Write(fs::path(u8"写真 フォルダ") / u8"花 1.bmp", Bmp(colours));
  std::optional<Picture> picture = loader.Decode(bmp, {});
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels, colours);
  EXPECT_EQ(picture->size, (PixelSize{3, 2}));

  picture = loader.Decode(
      Write("two frames.gif", Gif(2, 2, kPalette, {{0, 1, 2, 3}, {1, 1, 1, 1}}, false)), {});
  ASSERT_TRUE(picture);
  Image firstFrame(2, 2);
  for (int i = 0; i < 4; ++i) firstFrame.Set(i % 2, i / 2, kPalette[static_cast<std::size_t>(i)]);
  EXPECT_EQ(picture->pixels, firstFrame);

  // A PNG, exact; a JPEG, near enough (its colour is coarser, so the halves are wide blocks).
  std::vector<std::uint32_t> halves(32 * 16);
  for (std::size_t i = 0; i < halves.size(); ++i) {
    halves[i] = i % 32 < 16 ? Bgra(200, 30, 60, 255) : Bgra(20, 140, 230, 255);
  }
  for (const auto& [name, container, tolerance] :
       {std::tuple{"halves.png", GUID_ContainerFormatPng, 0},
        std::tuple{"halves.jpg", GUID_ContainerFormatJpeg, 12}}) {
    ASSERT_TRUE(Encode(root / name, container, 32, 16, halves)) << name;
    picture = loader.Decode(Utf8(root / name), {});
    ASSERT_TRUE(picture) << name;
    ASSERT_EQ(picture->size, (PixelSize{32, 16})) << name;
    for (int y : {0, 7, 15}) {
      EXPECT_TRUE(Near(picture->pixels.At(2, y), Rgb(200, 30, 60), tolerance)) << name << y;
      EXPECT_TRUE(Near(picture->pixels.At(29, y), Rgb(20, 140, 230), tolerance)) << name << y;
    }
  }
}

TEST_F(Win32Pictures, LaysTransparencyOverBlack) {
  ASSERT_TRUE(Encode(root / "alpha.png", GUID_ContainerFormatPng, 3, 1,
                     {Bgra(200, 100, 50, 255), Bgra(200, 100, 50, 128), Bgra(200, 100, 50, 0)}));
  std::optional<Picture> picture = loader.Decode(Utf8(root / "alpha.png"), {});
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.At(0, 0), Rgb(200, 100, 50));
  EXPECT_TRUE(Near(picture->pixels.At(1, 0), Rgb(100, 50, 25), 1));
  EXPECT_EQ(picture->pixels.At(2, 0), Rgb(0, 0, 0));

  picture = loader.Decode(Write("clear.gif", Gif(2, 1, kPalette, {{1, 3}}, true)), {});
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->pixels.At(0, 0), Rgb(0, 0, 255));
  EXPECT_EQ(picture->pixels.At(1, 0), Rgb(0, 0, 0));
}

TEST_F(Win32Pictures, RefusesWhatIsNoPicture) {
  EXPECT_FALSE(loader.Decode(Utf8(root / "missing.jpg"), {}));
  EXPECT_FALSE(loader.Decode(Write("notes.jpg", "not a picture"), {}));
  EXPECT_FALSE(loader.Decode(Write("empty.bmp", ""), {}));
  Image image(40, 40, Rgb(1, 2, 3));
  EXPECT_TRUE(loader.Decode(Write("whole.bmp", Bmp(image)), {}));
  EXPECT_FALSE(loader.Decode(Write("cut.bmp", Bmp(image).substr(0, 60)), {}));
  EXPECT_FALSE(loader.Decode(Utf8(root), {}));
  EXPECT_FALSE(loader.Decode(Utf8(root) + "\\\xFF.bmp", {}));
}

TEST_F(Win32Pictures, DecodesNoMorePixelsThanDrawn) {
  // Fitted to a 100 x 100 screen, 400 x 200 comes drawn 100 x 50, its own size kept.
  std::vector<std::uint32_t> halves(400 * 200);
  for (std::size_t i = 0; i < halves.size(); ++i) {
    halves[i] = i % 400 < 200 ? Bgra(255, 0, 0, 255) : Bgra(0, 0, 255, 255);
  }
  ASSERT_TRUE(Encode(root / "wide.png", GUID_ContainerFormatPng, 400, 200, halves));
  const std::string wide = Utf8(root / "wide.png");
  std::optional<Picture> picture = loader.Decode(wide, DrawnSizeOn(100, 100, 1));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->size, (PixelSize{400, 200}));
  ASSERT_EQ(picture->pixels.Width(), 100);
  ASSERT_EQ(picture->pixels.Height(), 50);
  EXPECT_EQ(picture->pixels.At(10, 25), Rgb(255, 0, 0));
  EXPECT_EQ(picture->pixels.At(90, 25), Rgb(0, 0, 255));
  // Drawn larger than it is: whole. At its own size: the middle that shows.
  EXPECT_EQ(loader.Decode(wide, DrawnSizeOn(1600, 1200, 1)).value_or(Picture{}).pixels.Width(),
            400);
  picture = loader.Decode(wide, DrawnSizeOn(100, 100, 0));
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->part, (Rect{150, 50, 100, 100}));
  ASSERT_EQ(picture->pixels.Width(), 100);
  EXPECT_EQ(picture->pixels.At(49, 0), Rgb(255, 0, 0));
  EXPECT_EQ(picture->pixels.At(50, 99), Rgb(0, 0, 255));

  EXPECT_EQ(ExpectFittedPhotoInPlace(loader, write).value_or(Picture{}).pixels.Width(), 1080);
}

TEST_F(Win32Pictures, APhotoOverTheLimitShowsAtItsOwnSizeCutEvenly) {
  ExpectBigPhotoCutEvenly(loader, write);
}

TEST_F(Win32Pictures, DecodesOnAnyThreadWithoutChangingItsApartment) {
  Image image(5, 4, Rgb(10, 20, 30));
  const std::string bmp = Write("small.bmp", Bmp(image));
  // A worker thread without COM, and a window thread that keeps its own apartment.
  std::optional<Picture> onWorker;
  std::thread([&] { onWorker = loader.Decode(bmp, {}); }).join();
  EXPECT_EQ(onWorker.value_or(Picture{}).pixels, image);
  std::optional<Picture> onWindowThread;
  HRESULT after = E_FAIL;
  std::thread([&] {
    if (FAILED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED))) return;
    onWindowThread = loader.Decode(bmp, {});
    after = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    if (SUCCEEDED(after)) CoUninitialize();
    CoUninitialize();
  }).join();
  EXPECT_EQ(onWindowThread.value_or(Picture{}).pixels, image);
  EXPECT_EQ(after, S_FALSE);  // still in the apartment it made
}

}  // namespace
}  // namespace orvel
