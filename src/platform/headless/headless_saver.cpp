#include "platform/headless/headless_saver.h"

#include <algorithm>

namespace orvel {

HeadlessSaverHost::HeadlessSaverHost(FakeClock& clock, CallLog& log, int width, int height)
    : screen(width, height), clock_(clock), log_(log), width_(width), height_(height) {}

void HeadlessSaverHost::Schedule(const Input& input) {
  // Kept in time order, input of the same time in the order it was scripted.
  auto later =
      std::upper_bound(input_.begin(), input_.end(), input.atMs,
                       [](std::int64_t at, const Input& queued) { return at < queued.atMs; });
  input_.insert(later, input);
}

void HeadlessSaverHost::MouseDownAt(std::int64_t atMs) { Schedule({atMs, Input::Down}); }

void HeadlessSaverHost::MouseMoveAt(std::int64_t atMs, float x, float y) {
  Schedule({atMs, Input::Move, x, y});
}

void HeadlessSaverHost::KeyDownAt(std::int64_t atMs, int keyCode) {
  Schedule({atMs, Input::Key, 0, 0, keyCode});
}

void HeadlessSaverHost::CloseRequestAt(std::int64_t atMs) { Schedule({atMs, Input::CloseRequest}); }

bool HeadlessSaverHost::CaptureDesktop(Image& into) {
  log_.Add("CaptureDesktop");
  if (!desktop) return false;
  CopyImage(into, *desktop, 0, 0);
  return true;
}

void HeadlessSaverHost::Show() { log_.Add("Show"); }

void HeadlessSaverHost::MakeTopMost() { log_.Add("MakeTopMost"); }

void HeadlessSaverHost::Present(const Frame& frame, std::span<const Rect> changed) {
  for (const Rect& rect : changed) {
    const Rect part = Intersect(Intersect(rect, screen.Bounds()), frame.Bounds());
    if (!part.Empty()) {
      frame.Compose(part, screen.Row(part.y) + part.x, static_cast<std::size_t>(screen.Width()));
    }
  }
  lastChanged.assign(changed.begin(), changed.end());
  ++framesPresented;
  if (onPresent) onPresent(screen);
}

void HeadlessSaverHost::ProcessInput(InputHandler& handler) {
  while (!closed && !input_.empty() && input_.front().atMs <= clock_.now) {
    Input input = input_.front();
    input_.pop_front();
    switch (input.kind) {
      case Input::Down:
        handler.MouseDown(1, 0, input.x, input.y);
        break;
      case Input::Move:
        handler.MouseMove(0, 0, input.x, input.y);
        break;
      case Input::Key:
        handler.KeyDown(input.key, 0);
        break;
      case Input::CloseRequest:
        handler.CloseRequested();
        break;
    }
  }
}

void HeadlessSaverHost::WaitUntil(std::int64_t monotonicMs) {
  // A close request that comes before the time ends the wait then.
  for (const Input& input : input_) {
    if (input.kind == Input::CloseRequest && input.atMs > clock_.now) {
      monotonicMs = std::min(monotonicMs, input.atMs);
      break;
    }
  }
  if (monotonicMs > clock_.now) clock_.now = monotonicMs;
}

std::optional<bool> HeadlessSaverHost::VerifyPassword() {
  log_.Add("VerifyPassword");
  return passwordAnswer;
}

void HeadlessSaverHost::Close() {
  log_.Add("Close");
  closed = true;
}

std::optional<Picture> MemoryPictureLoader::Decode(const std::string& path, const DrawnSize&) {
  ++loads;
  auto found = pictures.find(path);
  if (found == pictures.end()) return std::nullopt;
  const Image& image = found->second;
  return Picture{image, {image.Width(), image.Height()}};
}

}  // namespace orvel
