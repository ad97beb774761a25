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
  PictureLoader& pictures = services_.pictures;
  ++SlidePosition;

  const DrawnSize drawn = DrawnSizeOn(ScreenW, ScreenH, state_.settings.PictureSize);
  const std::string path = PicturePath(catalogue, SlidePosition);
  pictureRequested_ = !path.empty();
  pictureRequestedAt_ = services_.clock.MonotonicMs();
  if (pictureRequested_) pictures.Request(path, drawn);
  // Until a picture that takes its time is decoded, the orbs go on over the
  // picture before it.
  if (!pictureRequested_ || pictures.Ready()) ComposeRequestedPicture();

  if (SlidePosition >= catalogue.ImageCount) {
    BuildDisplayOrder(catalogue, state_.settings.PictureOrder, state_.random, services_.clock);
    SlidePosition = 0;
  }
  const std::string next = PicturePath(catalogue, SlidePosition + 1);
  if (!next.empty()) pictures.Prefetch(next, drawn);
}

void Saver::ComposeRequestedPicture() {
  std::optional<Picture> picture;
  if (pictureRequested_) picture = services_.pictures.Take();
  pictureRequested_ = false;
  // A picture that cannot be loaded leaves Master black until the next one.
  ComposePicture(Master, picture ? &*picture : nullptr, state_.settings.PictureSize);
  // Display restores only under the orbs while Master stays as it was; a
  // new Master has to go back on the whole screen.
  backgroundChanged_ = true;
}

void Saver::ShowRequestedPicture() {
  if (!pictureRequested_) return;
  // A picture still not decoded when the wait is over is given up on: black,
  // as for a file that cannot be read, until the next change.
  const bool waitOver = services_.clock.MonotonicMs() - pictureRequestedAt_ >= kPictureWaitMs;
  if (!waitOver && !services_.pictures.Ready()) return;
  ComposeRequestedPicture();
  CapturePixels(Master, Pixels);
}

void Saver::WaitForRequestedPicture() {
  // The first picture goes up with the window, as it always has: no frame
  // shows black before it, unless it takes longer than any picture may.
  // Input counts meanwhile: a close request or a key ends the wait and the
  // saver with it.
  for (;;) {
    services_.host.ProcessInput(*this);
    if (ended_) return;
    if (!pictureRequested_ || services_.pictures.Ready() ||
        services_.clock.MonotonicMs() - pictureRequestedAt_ >= kPictureWaitMs) {
      break;
    }
    services_.host.WaitUntil(services_.clock.MonotonicMs() + 10);
  }
  ShowRequestedPicture();
}

void Saver::Timer3_Timer() {
  ++SecondsCount;
  // An interval of 1 or less changes the picture every second.
  if (SecondsCount < state_.settings.ChangeInterval) return;
  SecondsCount = 0;
  Direction ^= 1;
  ShowNextPicture();
  // A picture still on its way is captured when it is composed.
  if (!pictureRequested_) CapturePixels(Master, Pixels);
}

}  // namespace orvel
