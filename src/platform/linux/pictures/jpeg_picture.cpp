#include "platform/linux/pictures/jpeg_picture.h"

// jpeglib.h needs size_t and FILE declared before it.
#include <jerror.h>
#include <jpeglib.h>
#include <cstddef>
#include <cstdio>

#include <algorithm>
#include <csetjmp>
#include <utility>

#include "platform/linux/pictures/pixbuf_pictures.h"

namespace orvel {
namespace {

// libjpeg's error handler, which leaves the decode through the jump buffer
// of the call that is under way instead of ending the program.
struct Errors {
  jpeg_error_mgr manager;  // first: libjpeg hands back a pointer to it
  std::jmp_buf jump;
  bool endedEarly = false;
};

[[noreturn]] void LeaveOnError(j_common_ptr info) {
  std::longjmp(reinterpret_cast<Errors*>(info->err)->jump, 1);
}

// Warnings print nothing; a file that ends early is noted (libjpeg goes on
// with grey rows instead).
void NoteWarning(j_common_ptr info, int level) {
  if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF) {
    reinterpret_cast<Errors*>(info->err)->endedEarly = true;
  }
}

// One decode. Every call into libjpeg that can fail runs in a member that
// sets the jump buffer first, and only libjpeg's own frames lie between it
// and the error handler, so a jump skips no destructor.
class JpegReader {
 public:
  explicit JpegReader(std::FILE* file) : file_(file) {
    info_.err = jpeg_std_error(&errors_.manager);
    errors_.manager.error_exit = LeaveOnError;
    errors_.manager.emit_message = NoteWarning;
  }
  ~JpegReader() { jpeg_destroy_decompress(&info_); }  // safe on a half-made one
  JpegReader(const JpegReader&) = delete;
  JpegReader& operator=(const JpegReader&) = delete;

  // Reads up to the picture's first scan; false when it is not a JPEG.
  bool ReadHeader() {
    if (setjmp(errors_.jump) != 0) return false;
    jpeg_create_decompress(&info_);
    // Pictures that need whole-picture buffers (progressive ones) are
    // refused past this, not swapped out: libjpeg here has no backing store.
    info_.mem->max_memory_to_use = static_cast<long>(kMaxJpegWorkBytes);
    jpeg_stdio_src(&info_, file_);
    if (jpeg_read_header(&info_, TRUE) != JPEG_HEADER_OK) return false;
    cmyk_ = info_.jpeg_color_space == JCS_CMYK || info_.jpeg_color_space == JCS_YCCK;
    return true;
  }

  PixelSize Size() const {
    return {static_cast<int>(info_.image_width), static_cast<int>(info_.image_height)};
  }

  // The rectangle `part` of the picture scaled to 1/`denominator` into
  // `into`, which is part's size.
  bool ReadPart(int denominator, Rect part, Image& into) {
    if (setjmp(errors_.jump) != 0) return false;
    info_.scale_num = 1;
    info_.scale_denom = static_cast<unsigned>(denominator);
    info_.out_color_space = cmyk_ ? JCS_CMYK : JCS_EXT_BGRX;
    if (!jpeg_start_decompress(&info_)) return false;
    // libjpeg widens the columns to whole blocks: `skip` of them come first.
    auto left = static_cast<JDIMENSION>(part.x);
    auto width = static_cast<JDIMENSION>(part.w);
    if (width < info_.output_width) jpeg_crop_scanline(&info_, &left, &width);
    const auto skip = static_cast<std::size_t>(part.x) - left;
    if (part.y > 0 && jpeg_skip_scanlines(&info_, static_cast<JDIMENSION>(part.y)) !=
                          static_cast<JDIMENSION>(part.y)) {
      return false;
    }
    JSAMPARRAY row = (*info_.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&info_), JPOOL_IMAGE,
                                                info_.output_width * 4, 1);
    for (int y = 0; y < part.h; ++y) {
      if (jpeg_read_scanlines(&info_, row, 1) != 1 || errors_.endedEarly) return false;
      const JSAMPLE* from = row[0] + skip * 4;
      std::uint32_t* to = into.Row(y);
      for (int x = 0; x < part.w; ++x, from += 4) to[x] = cmyk_ ? FromCmyk(from) : FromBgrx(from);
    }
    return true;
  }

 private:
  static std::uint32_t FromBgrx(const JSAMPLE* pixel) { return Rgb(pixel[2], pixel[1], pixel[0]); }
  // Inks over white; Adobe's pictures store each ink inverted.
  std::uint32_t FromCmyk(const JSAMPLE* pixel) const {
    const int k = pixel[3];
    auto channel = [this, k](int ink) {
      return info_.saw_Adobe_marker ? ink * k / 255 : (255 - ink) * (255 - k) / 255;
    };
    return Rgb(channel(pixel[0]), channel(pixel[1]), channel(pixel[2]));
  }

  std::FILE* file_;
  jpeg_decompress_struct info_{};
  Errors errors_{};
  bool cmyk_ = false;
};

long long Pixels(PixelSize size) {
  return static_cast<long long>(size.width) * static_cast<long long>(size.height);
}

int CeilDiv(int value, int denominator) { return (value + denominator - 1) / denominator; }

// The largest of 8, 4 and 2 that leaves at least the size drawn; 1 if none.
int ScaleDenominator(PixelSize own, PixelSize drawn) {
  for (int denominator = 8; denominator > 1; denominator /= 2) {
    if (CeilDiv(own.width, denominator) >= drawn.width &&
        CeilDiv(own.height, denominator) >= drawn.height) {
      return denominator;
    }
  }
  return 1;
}

}  // namespace

bool LooksLikeJpeg(std::string_view start) { return start.starts_with("\xFF\xD8\xFF"); }

std::optional<Picture> DecodeJpeg(std::FILE* file, const DrawnSize& drawn) {
  JpegReader reader(file);
  if (!reader.ReadHeader()) return std::nullopt;
  const PixelSize own = reader.Size();
  if (own.width <= 0 || own.height <= 0 || Pixels(own) > kMaxPictureOwnPixels) return std::nullopt;
  const int denominator = ScaleDenominator(own, drawn(own));
  const Rect shown = Intersect(drawn.Shown(own), Rect{0, 0, own.width, own.height});
  if (shown.Empty()) return std::nullopt;
  // What shows, at the scale, widened to whole scaled pixels.
  const Rect scaled{shown.x / denominator, shown.y / denominator,
                    CeilDiv(shown.Right(), denominator) - shown.x / denominator,
                    CeilDiv(shown.Bottom(), denominator) - shown.y / denominator};
  if (Pixels({scaled.w, scaled.h}) > kMaxPicturePixels) return std::nullopt;
  Image image(scaled.w, scaled.h);
  if (!reader.ReadPart(denominator, scaled, image)) return std::nullopt;
  const Rect part{scaled.x * denominator, scaled.y * denominator,
                  std::min(scaled.Right() * denominator, own.width) - scaled.x * denominator,
                  std::min(scaled.Bottom() * denominator, own.height) - scaled.y * denominator};
  return Picture{std::move(image), own, part};
}

}  // namespace orvel
