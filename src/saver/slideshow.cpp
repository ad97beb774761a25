// The slideshow behind the orbs: one picture after another in the display
// order, each for ChangeInterval seconds, centred on black.
#include "saver/picture_layout.h"
#include "saver/saver.h"

namespace orvel {

namespace {

// The file shown at `position` of the display order; "" when there is none.
std::string PicturePath(const ImageCatalogue& catalogue, int position) {
  if (position < 1 || static_cast<std::size_t>(position) >= catalogue.DisplayOrder.size()) {
    return {};
  }
  const int file = catalogue.DisplayOrder[static_cast<std::size_t>(position)];
  if (file < 1 || static_cast<std::size_t>(file) >= catalogue.ImageFiles.size()) return {};
  return catalogue.ImageFiles[static_cast<std::size_t>(file)];
}

}  // namespace

void Saver::ShowNextPicture() {
  ImageCatalogue& catalogue = state_.catalogue;
  ++SlidePosition;

  const std::string path = PicturePath(catalogue, SlidePosition);
  std::optional<Image> picture;
  if (!path.empty()) picture = services_.pictures.Load(path);
  // A picture that cannot be loaded leaves Master black until the next one.
  ComposePicture(Master, picture ? &*picture : nullptr, state_.settings.PictureSize);
  // Display restores only under the orbs while Master stays as it was; a
  // new Master has to go back on the whole screen.
  backgroundChanged_ = true;

  if (SlidePosition >= catalogue.ImageCount) {
    BuildDisplayOrder(catalogue, state_.settings.PictureOrder, state_.random, services_.clock);
    SlidePosition = 0;
  }
  const std::string next = PicturePath(catalogue, SlidePosition + 1);
  if (!next.empty()) services_.pictures.Prefetch(next);
}

void Saver::Timer3_Timer() {
  ++SecondsCount;
  // An interval of 1 or less changes the picture every second.
  if (SecondsCount < state_.settings.ChangeInterval) return;
  SecondsCount = 0;
  Direction ^= 1;
  ShowNextPicture();
  CapturePixels(Master, Pixels);
}

}  // namespace orvel
