// The saver's platform in memory: a screen that keeps every presented
// frame's pixels, scripted input on the fake clock, pictures from memory
// and a music device that records what it is told.
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "music/music.h"
#include "platform/headless/call_log.h"
#include "platform/headless/headless_platform.h"
#include "platform/platform.h"

namespace orvel {

class HeadlessSaverHost : public SaverHost {
 public:
  HeadlessSaverHost(FakeClock& clock, CallLog& log, int width, int height);

  // The desktop to capture; nullopt where no snapshot can be had.
  std::optional<Image> desktop;
  // The password dialog's answer; nullopt where there is no password service.
  std::optional<bool> passwordAnswer = true;
  // What the screen shows: each Present copies its changed rectangles here.
  Image screen;
  int framesPresented = 0;
  // The rectangles the last Present was asked to copy.
  std::vector<Rect> lastChanged;
  // Called after every Present with the screen as it now stands.
  std::function<void(const Image& screen)> onPresent;
  bool closed = false;

  // Input delivered by the first event pass at or after `atMs`, in time
  // order whatever order it was scripted in.
  void MouseDownAt(std::int64_t atMs);
  void MouseMoveAt(std::int64_t atMs, float x, float y);
  void KeyDownAt(std::int64_t atMs, int keyCode);
  // The window asked to close at `atMs`: a wait that would go past it ends
  // then.
  void CloseRequestAt(std::int64_t atMs);

  int ScreenWidth() override { return width_; }
  int ScreenHeight() override { return height_; }
  bool CaptureDesktop(Image& into) override;
  void Show() override;
  void MakeTopMost() override;
  void Present(const Frame& frame, std::span<const Rect> changed) override;
  void ProcessInput(InputHandler& handler) override;
  void WaitUntil(std::int64_t monotonicMs) override;
  std::optional<bool> VerifyPassword() override;
  void Close() override;

 private:
  struct Input {
    std::int64_t atMs;
    enum Kind { Down, Move, Key, CloseRequest } kind;
    float x = 0;
    float y = 0;
    int key = 0;
  };
  void Schedule(const Input& input);

  FakeClock& clock_;
  CallLog& log_;
  int width_;
  int height_;
  std::deque<Input> input_;
};

// Pictures held in memory by path, always at their own size; any other path
// fails to load.
class MemoryPictureLoader : public PictureLoader {
 public:
  std::map<std::string, Image> pictures;
  int loads = 0;
  std::optional<Picture> Decode(const std::string& path, const DrawnSize& drawn) override;
};

// Records each music call ("CdOpen", "Mp3Stop") in the log.
class RecordingMusic : public Music {
 public:
  explicit RecordingMusic(CallLog& log) : log_(log) {}
  // What the CD watch finds.
  bool cdAnswers = true;

  void CdOpen() override { log_.Add("CdOpen"); }
  void CdWatch() override { log_.Add("CdWatch"); }
  bool CdWatchOk() const override { return cdAnswers; }
  void CdPreviousTrack() override { log_.Add("CdPreviousTrack"); }
  void CdNextTrack() override { log_.Add("CdNextTrack"); }
  void CdClose() override { log_.Add("CdClose"); }
  void Mp3Start() override { log_.Add("Mp3Start"); }
  void Mp3KeepLooping() override { log_.Add("Mp3KeepLooping"); }
  void Mp3Stop() override { log_.Add("Mp3Stop"); }
  void WavStart() override { log_.Add("WavStart"); }
  void WavStop() override { log_.Add("WavStop"); }

 private:
  CallLog& log_;
};

}  // namespace orvel
