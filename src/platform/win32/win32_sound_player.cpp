#include "platform/win32/win32_sound_player.h"

#include <windows.h>
// After windows.h, which the multimedia header needs.
#include <mmsystem.h>

#include "platform/win32/wide_text.h"

namespace orvel {

Win32SoundPlayer::~Win32SoundPlayer() { Stop(); }

int Win32SoundPlayer::OutputDeviceCount() { return static_cast<int>(waveOutGetNumDevs()); }

void Win32SoundPlayer::PlayLooping(const std::string& file) {
  std::optional<std::wstring> wide = WideFromUtf8(file);
  if (!wide || wide->empty()) {
    Stop();
    return;
  }
  // A new sound replaces whatever the process played before.
  PlaySoundW(wide->c_str(), nullptr, SND_FILENAME | SND_ASYNC | SND_LOOP | SND_NODEFAULT);
}

void Win32SoundPlayer::Stop() { PlaySoundW(nullptr, nullptr, 0); }

}  // namespace orvel
