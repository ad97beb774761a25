// The saver window's start sequence, frame loop and music timers.
#include "saver/saver.h"

#include <algorithm>

#include "app/startup.h"
#include "settings/ascii.h"

namespace orvel {

Saver::Saver(AppState& state, const SaverServices& services, std::string_view arguments)
    : state_(state), services_(services), arguments_(arguments) {}

bool Saver::SaverMode() const { return ModeLetter(arguments_) == 'S'; }

std::string Saver::MusicFileKind() const {
  const std::string& file = state_.settings.BgmFile;
  return AsciiUpper(
      std::string_view(file).substr(file.size() - std::min<std::size_t>(3, file.size())));
}

void Saver::Run() {
  Form_Load();
  // Frame k is due k / kFrameRate seconds after the start; a loop that has
  // fallen behind by more than a frame starts counting afresh.
  std::int64_t start = services_.clock.MonotonicMs();
  std::int64_t frame = 0;
  while (!ended_) {
    AnimationFrame();
    if (ended_) break;
    ++frame;
    std::int64_t due = start + FrameDueMs(frame);
    std::int64_t now = services_.clock.MonotonicMs();
    if (now > due + FrameDueMs(1)) {
      start = now;
      frame = 0;
      due = now;
    }
    services_.host.WaitUntil(due);
  }
}

void Saver::Form_Load() {
  SaverHost& host = services_.host;
  Clock& clock = services_.clock;

  ScreenW = host.ScreenWidth();
  ScreenH = host.ScreenHeight();
  Master = Image(ScreenW, ScreenH);

  // The background: the first picture, or the desktop as the user left it
  // (taken before the window shows; black where no snapshot can be had).
  if (state_.catalogue.ImageCount != 0) {
    SlidePosition = 0;
    ShowNextPicture();
    WaitForRequestedPicture();
    if (ended_) return;
    // The first picture's seconds count from when it is on, not from
    // before a slow file was read.
    Timer3.SetEnabled(true, clock.MonotonicMs());
  } else {
    host.CaptureDesktop(Master);
  }
  SecondsCount = 0;

  switch (state_.settings.BgmKind) {
    case 1:
      services_.music.CdOpen();
      Timer2.SetEnabled(true, clock.MonotonicMs());
      break;
    case 2:
      if (MusicFileKind() == "WAV") {
        services_.music.WavStart();
      } else if (MusicFileKind() == "MP3") {
        services_.music.Mp3Start();
        Timer1.SetEnabled(true, clock.MonotonicMs());
      }
      break;
    default:
      break;
  }

  state_.random.Reseed(clock.SeedFromTime());
  Direction = static_cast<std::int16_t>(state_.random.Below(2));
  InitOrbs(Orbs, ScreenW, ScreenH, state_.random);

  host.Show();
  EventPass();
  if (ended_) return;

  // The pixel map needs no filling: Pixels is Master itself.
  host.MakeTopMost();
}

void Saver::AnimationFrame() {
  MoveOrbs(Orbs, Direction, ScreenW, ScreenH, state_.random);

  std::array<Rect, kOrbCount> drawn;
  std::ranges::transform(Orbs, drawn.begin(),
                         [this](const Orb& orb) { return OrbBounds(orb, ScreenW, ScreenH); });

  changed_.clear();
  if (backgroundChanged_ || presentWhole_) {
    changed_.push_back(Master.Bounds());
  } else {
    // What the orbs covered before and now: one rectangle per orb where its
    // two squares meet, both where it jumped across the screen.
    for (std::size_t i = 0; i < drawn.size(); ++i) {
      const Rect& before = drawn_[i];
      const Rect& now = drawn[i];
      if (!Intersect(before, now).Empty()) {
        changed_.push_back(Union(before, now));
      } else {
        if (!before.Empty()) changed_.push_back(before);
        if (!now.Empty()) changed_.push_back(now);
      }
    }
  }
  drawn_ = drawn;
  backgroundChanged_ = false;

  services_.host.Present(Frame(Master, *this), changed_);
  EventPass();
  if (!ended_) ShowRequestedPicture();
}

void Saver::DrawOver(const Rect& area, std::uint32_t* into, std::size_t stride) const {
  DrawOrbs(area, into, stride, Orbs, ScreenW, ScreenH, Pixels);
}

void Saver::EventPass() {
  services_.host.ProcessInput(*this);
  const std::int64_t now = services_.clock.MonotonicMs();
  if (!ended_ && Timer1.TakeTick(now)) Timer1_Timer();
  if (!ended_ && Timer2.TakeTick(now)) Timer2_Timer();
  if (!ended_ && Timer3.TakeTick(now)) Timer3_Timer();
}

void Saver::Timer1_Timer() { services_.music.Mp3KeepLooping(); }

void Saver::Timer2_Timer() {
  services_.music.CdWatch();
  Timer2.SetEnabled(services_.music.CdWatchOk(), services_.clock.MonotonicMs());
}

}  // namespace orvel
