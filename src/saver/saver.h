// The saver window: its start sequence, the frame loop, the three timers,
// the slideshow and the end on user input.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/app_state.h"
#include "graphics/frame.h"
#include "graphics/image.h"
#include "music/music.h"
#include "platform/platform.h"
#include "saver/orb_drawing.h"
#include "saver/orbs.h"
#include "saver/timer.h"

namespace orvel {

// Frames per second of the animation.
inline constexpr int kFrameRate = 30;

// When frame `index` (0 for the first) is due, in ms after the first.
constexpr std::int64_t FrameDueMs(std::int64_t index) { return index * 1000 / kFrameRate; }

// How long the frames go on over the old background while the next picture
// is decoded; after that it counts as a picture that cannot be read.
inline constexpr std::int64_t kPictureWaitMs = 5000;

// What the saver talks to.
struct SaverServices {
  SaverHost& host;
  PictureLoader& pictures;
  Music& music;
  Clock& clock;
  System& system;
};

class Saver : public InputHandler, private FrameOverlay {
 public:
  // `arguments` is the command line: "/s" and the like, or empty for a test
  // run (the pointer stays, mouse movement is ignored).
  Saver(AppState& state, const SaverServices& services, std::string_view arguments);
  // A copy's Pixels would still be the original's Master.
  Saver(const Saver&) = delete;
  Saver& operator=(const Saver&) = delete;

  // The start sequence, then paced frames until the saver ends.
  void Run();

  // The start sequence: screen size, background, music, orbs, pixel map.
  // Input is taken while the first picture is awaited: the saver may end
  // before the sequence is through.
  void Form_Load();

  // One frame: move the orbs, present what they covered and cover now,
  // then one event pass (input, then due timers).
  void AnimationFrame();

  void Timer1_Timer();
  void Timer2_Timer();
  void Timer3_Timer();

  // The next picture of the display order, composed into Master as soon as
  // it is decoded (at once, where the loader decodes within its request).
  void ShowNextPicture();

  void Display_MouseDown();
  void Display_MouseMove(float x, float y);
  void Form_KeyDown(int keyCode);

  // Asks for the password where the platform wants it, stops the music,
  // restores the system flags and closes the window. Returns with the saver
  // still running only when the password was refused.
  void EndSaver();

  bool Ended() const { return ended_; }

  // Present the whole screen every frame instead of only the rectangles the
  // orbs covered (the benchmark compares the two).
  void SetPresentWholeScreen(bool whole) { presentWhole_ = whole; }

  // The composed background, for the tests and the tools to read.
  const Image& Background() const { return Master; }

  // InputHandler
  void MouseDown(int button, int shift, float x, float y) override;
  void MouseMove(int button, int shift, float x, float y) override;
  void KeyDown(int keyCode, int shift) override;
  // Ends the saver as a key does: the music stopped, the flags restored.
  void CloseRequested() override;

  // The window's state, for the platform, the tools and the tests to read.
  int ScreenW = 0;
  int ScreenH = 0;
  std::array<Orb, kOrbCount> Orbs{};
  std::int16_t Direction = 0;
  std::int16_t SlidePosition = 0;
  std::int16_t SecondsCount = 0;
  Timer Timer1{1000};
  Timer Timer2{200};
  Timer Timer3{1000};
  // The composed background, the only screen-sized image. The orbs are
  // never drawn into it: the host has them drawn over the parts of it that
  // it puts on the screen (DrawOver).
  Image Master;
  // The background the orbs are tinted against is Master itself.
  PixelMap& Pixels = Master;

 private:
  void EventPass();
  // FrameOverlay: the orbs where they are now.
  void DrawOver(const Rect& area, std::uint32_t* into, std::size_t stride) const override;
  // Once the requested picture is decoded, or the wait for it is over: the
  // picture composed into Master and captured into Pixels.
  void ShowRequestedPicture();
  void WaitForRequestedPicture();
  void ComposeRequestedPicture();
  // The last three characters of the music file, upper-cased.
  std::string MusicFileKind() const;
  bool SaverMode() const;

  AppState& state_;
  SaverServices services_;
  std::string arguments_;

  bool ended_ = false;
  bool presentWhole_ = false;
  bool backgroundChanged_ = true;        // Master is new: presented whole next frame
  std::array<Rect, kOrbCount> drawn_{};  // what the previous frame's orbs covered
  std::vector<Rect> changed_;            // what this frame presents (kept to spare allocations)

  float firstMouseX_ = 0;
  float firstMouseY_ = 0;
  bool mouseRecorded_ = false;

  bool pictureRequested_ = false;  // a picture is on its way to Master
  std::int64_t pictureRequestedAt_ = 0;
};

}  // namespace orvel
