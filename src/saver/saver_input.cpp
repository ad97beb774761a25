// The end of the saver: mouse and key input, the password, and the exit.
#include "app/startup.h"
#include "saver/saver.h"

namespace orvel {
namespace {

constexpr unsigned kScreenSaveActive = 17;

}  // namespace

// Once the saver has ended, input that the platform still had queued goes
// nowhere: ending twice would stop the music and restore the flags twice.
void Saver::MouseDown(int, int, float, float) {
  if (!ended_) Display_MouseDown();
}
void Saver::MouseMove(int, int, float x, float y) {
  if (!ended_) Display_MouseMove(x, y);
}
void Saver::KeyDown(int keyCode, int) {
  if (!ended_) Form_KeyDown(keyCode);
}
// Whoever asks the window to close gets the end a key gives, never the
// bare kill that would leave the music playing and the flags set.
void Saver::CloseRequested() {
  if (!ended_) EndSaver();
}

void Saver::Display_MouseDown() { EndSaver(); }

void Saver::Display_MouseMove(float x, float y) {
  // A test run keeps going however the mouse moves.
  if (arguments_.empty()) return;
  if (!mouseRecorded_) {
    firstMouseX_ = x;
    firstMouseY_ = y;
    mouseRecorded_ = true;
    return;
  }
  // Only a diagonal movement ends the saver: one straight along an axis
  // never does, however far it goes.
  if (x != firstMouseX_ && y != firstMouseY_) {
    EndSaver();
    if (!ended_) mouseRecorded_ = false;
  }
}

void Saver::Form_KeyDown(int keyCode) {
  if (state_.settings.BgmKind == 1 && keyCode == VirtualKey::Left) {
    services_.music.CdPreviousTrack();
  } else if (state_.settings.BgmKind == 1 && keyCode == VirtualKey::Right) {
    services_.music.CdNextTrack();
  } else {
    EndSaver();
  }
}

void Saver::EndSaver() {
  System& system = services_.system;
  if (SaverMode() && !IsWindowsNT(system)) {
    // The pointer is shown for the prompt whatever its count was after the
    // hide at start (handing that count back as the flag would hide it
    // further when the hide had left it at 0).
    state_.CursorDisplayCount = system.ShowCursor(true);
    // Only a refusal keeps the saver running: where there is no password
    // service at all, the saver ends rather than lock the user out.
    if (services_.host.VerifyPassword() == false) {
      state_.CursorDisplayCount = system.ShowCursor(false);
      return;
    }
  }
  if (Timer2.Enabled()) {
    Timer2.SetEnabled(false, 0);
    services_.music.CdClose();
  }
  if (state_.settings.BgmKind == 2) {
    if (MusicFileKind() == "WAV") services_.music.WavStop();
    if (MusicFileKind() == "MP3") services_.music.Mp3Stop();
  }
  if (SaverMode()) EnableSystemKeys(true, system);
  system.SetSystemParameter(kScreenSaveActive, 1);
  services_.host.Close();
  ended_ = true;
}

}  // namespace orvel
