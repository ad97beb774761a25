#include "platform/win32/pictures/win32_pictures.h"

#include <objbase.h>
#include <shlwapi.h>
#include <wincodec.h>
#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <new>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/win32/system/wide_text.h"

namespace orvel {
namespace {

// A COM interface released when it goes.
struct Releaser {
  void operator()(IUnknown* object) const { object->Release(); }
};
template <class T>
using Com = std::unique_ptr<T, Releaser>;

// COM set up on this thread for as long as it lives. A thread already in an
// apartment of the other kind stays in it; the imaging component works in
// either.
class ComScope {
 public:
  ComScope() : result_(CoInitializeEx(nullptr, COINIT_MULTITHREADED)) {}
  ~ComScope() {
    if (SUCCEEDED(result_)) CoUninitialize();
  }
  ComScope(const ComScope&) = delete;
  ComScope& operator=(const ComScope&) = delete;

  bool Usable() const { return SUCCEEDED(result_) || result_ == RPC_E_CHANGED_MODE; }

 private:
  HRESULT result_;
};

long long Pixels(PixelSize size) {
  return static_cast<long long>(size.width) * static_cast<long long>(size.height);
}

// Rows copied out of the imaging component at a time.
constexpr int kBandRows = 16;

// What is decoded of a picture: its pixels at `size`, the rectangle `rect`
// of them, which is the part `part` of the picture's own pixels.
struct Decoded {
  PixelSize size;
  Rect rect;
  Rect part;
};

// What is decoded of a picture of `own` pixels: scaled to the size drawn
// where that is smaller (never below one pixel), the whole of it; at its own
// size, only the part that shows. nullopt when the picture or what would be
// decoded is too large, or nothing of it shows.
std::optional<Decoded> DecodedPart(PixelSize own, const DrawnSize& drawn) {
  if (own.width <= 0 || own.height <= 0 || Pixels(own) > kMaxPictureOwnPixels) {
    return std::nullopt;
  }
  const PixelSize target = drawn(own);
  const PixelSize size{std::clamp(target.width, 1, own.width),
                       std::clamp(target.height, 1, own.height)};
  const Rect whole{0, 0, size.width, size.height};
  Decoded decoded{size, whole, whole};
  if (size == own) {
    decoded.rect = decoded.part = Intersect(drawn.Shown(own), whole);
  } else {
    decoded.part = Rect{0, 0, own.width, own.height};
  }
  if (decoded.rect.Empty() || Pixels({decoded.rect.w, decoded.rect.h}) > kMaxPicturePixels) {
    return std::nullopt;
  }
  return decoded;
}

// Reads up to `size` bytes; how many came.
ULONG ReadSome(IStream* stream, void* into, ULONG size) {
  ULONG got = 0;
  if (FAILED(stream->Read(into, size, &got))) return 0;
  return got;
}

bool Rewind(IStream* stream) {
  LARGE_INTEGER start{};
  return SUCCEEDED(stream->Seek(start, STREAM_SEEK_SET, nullptr));
}

// The whole stream, when it holds no more than kMaxMetafileBytes.
std::optional<std::string> ReadWhole(IStream* stream) {
  STATSTG stat{};
  if (FAILED(stream->Stat(&stat, STATFLAG_NONAME)) || stat.cbSize.QuadPart > kMaxMetafileBytes ||
      !Rewind(stream)) {
    return std::nullopt;
  }
  std::string bytes(static_cast<std::size_t>(stat.cbSize.QuadPart), '\0');
  const ULONG size = static_cast<ULONG>(bytes.size());
  if (ReadSome(stream, bytes.data(), size) != size) return std::nullopt;
  return bytes;
}

// The screen's dots per inch across and down (96 where they cannot be had).
std::pair<int, int> ScreenDpi() {
  std::pair<int, int> dpi{96, 96};
  if (HDC screen = GetDC(nullptr)) {
    dpi = {GetDeviceCaps(screen, LOGPIXELSX), GetDeviceCaps(screen, LOGPIXELSY)};
    ReleaseDC(nullptr, screen);
  }
  return dpi;
}

// A metafile drawn smaller than it is is played straight at the size drawn:
// the time and memory go with the pixels that show, and its lines keep a
// pixel's width rather than drop out in a scaling.
std::optional<Picture> DecodeMetafile(IStream* stream, const DrawnSize& drawn) {
  const std::optional<std::string> bytes = ReadWhole(stream);
  if (!bytes) return std::nullopt;
  const auto [dpiX, dpiY] = ScreenDpi();
  std::optional<Metafile> metafile = ReadMetafile(*bytes, dpiX, dpiY);
  if (!metafile) return std::nullopt;
  const PixelSize own{metafile->width, metafile->height};
  const PixelSize target = drawn(own);
  metafile->width = std::clamp(target.width, 1, own.width);
  metafile->height = std::clamp(target.height, 1, own.height);
  std::optional<Image> image = DrawMetafile(*metafile);
  if (!image) return std::nullopt;
  return Picture{std::move(*image), own};
}

// The first frame of the picture through the imaging component, laid over
// black and scaled to the size decided from its own.
std::optional<Picture> DecodeImage(IStream* stream, const DrawnSize& drawn) {
  IWICImagingFactory* factoryPointer = nullptr;
  if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                              IID_PPV_ARGS(&factoryPointer)))) {
    return std::nullopt;
  }
  const Com<IWICImagingFactory> factory(factoryPointer);
  IWICBitmapDecoder* decoderPointer = nullptr;
  if (FAILED(factory->CreateDecoderFromStream(stream, nullptr, WICDecodeMetadataCacheOnDemand,
                                              &decoderPointer))) {
    return std::nullopt;
  }
  const Com<IWICBitmapDecoder> decoder(decoderPointer);
  IWICBitmapFrameDecode* framePointer = nullptr;
  if (FAILED(decoder->GetFrame(0, &framePointer))) return std::nullopt;
  const Com<IWICBitmapFrameDecode> frame(framePointer);
  UINT width = 0;
  UINT height = 0;
  if (FAILED(frame->GetSize(&width, &height)) || width > 0x7FFFFFFF || height > 0x7FFFFFFF) {
    return std::nullopt;
  }
  const PixelSize own{static_cast<int>(width), static_cast<int>(height)};
  const std::optional<Decoded> decoded = DecodedPart(own, drawn);
  if (!decoded) return std::nullopt;

  // Premultiplied: each colour already laid over black by its opacity.
  IWICFormatConverter* converterPointer = nullptr;
  if (FAILED(factory->CreateFormatConverter(&converterPointer))) return std::nullopt;
  const Com<IWICFormatConverter> converter(converterPointer);
  if (FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat32bppPBGRA,
                                   WICBitmapDitherTypeNone, nullptr, 0.0,
                                   WICBitmapPaletteTypeCustom))) {
    return std::nullopt;
  }
  IWICBitmapSource* source = converter.get();
  Com<IWICBitmapScaler> scaler;
  if (decoded->size != own) {
    IWICBitmapScaler* scalerPointer = nullptr;
    if (FAILED(factory->CreateBitmapScaler(&scalerPointer))) return std::nullopt;
    scaler.reset(scalerPointer);
    if (FAILED(scaler->Initialize(converter.get(), static_cast<UINT>(decoded->size.width),
                                  static_cast<UINT>(decoded->size.height),
                                  WICBitmapInterpolationModeFant))) {
      return std::nullopt;
    }
    source = scaler.get();
  }

  // Only the rectangle asked for, and that a band of rows at a time, as the
  // imaging component prefers: asked for all at once, a scaler (Wine's) holds
  // every source row it needs in one buffer.
  const Rect& rect = decoded->rect;
  Image image(rect.w, rect.h);
  const UINT stride = static_cast<UINT>(rect.w) * 4;
  for (int top = 0; top < rect.h; top += kBandRows) {
    const int rows = std::min(kBandRows, rect.h - top);
    const WICRect band{rect.x, rect.y + top, rect.w, rows};
    if (FAILED(source->CopyPixels(&band, stride, stride * static_cast<UINT>(rows),
                                  reinterpret_cast<BYTE*>(image.Row(top))))) {
      return std::nullopt;
    }
  }
  for (std::uint32_t& pixel : image.Pixels()) pixel &= 0x00FFFFFF;  // blue, green, red in place
  return Picture{std::move(image), own, decoded->part};
}

}  // namespace

std::optional<Picture> Win32PictureLoader::Decode(const std::string& path, const DrawnSize& drawn) {
  const std::optional<std::wstring> wide = WideFromUtf8(path);
  if (!wide) return std::nullopt;
  try {
    const ComScope com;
    if (!com.Usable()) return std::nullopt;
    IStream* streamPointer = nullptr;
    if (FAILED(SHCreateStreamOnFileEx(wide->c_str(), STGM_READ | STGM_SHARE_DENY_NONE,
                                      FILE_ATTRIBUTE_NORMAL, FALSE, nullptr, &streamPointer))) {
      return std::nullopt;
    }
    const Com<IStream> stream(streamPointer);
    char start[22] = {};
    const ULONG got = ReadSome(stream.get(), start, sizeof start);
    if (LooksLikeMetafile(std::string_view(start, got))) return DecodeMetafile(stream.get(), drawn);
    if (!Rewind(stream.get())) return std::nullopt;
    return DecodeImage(stream.get(), drawn);
  } catch (const std::bad_alloc&) {
    return std::nullopt;
  }
}

}  // namespace orvel
