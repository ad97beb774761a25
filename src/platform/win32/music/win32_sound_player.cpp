#include "platform/win32/music/win32_sound_player.h"

#include <windows.h>
// After windows.h, which the multimedia header needs.
#include <mmsystem.h>

#include "platform/win32/system/wide_text.h"

namespace orvel {
namespace {

// The short form of the file's path where the file system keeps one, else
// the path itself. Some players (Wine's among them) open the file through
// the ANSI code page, which cannot name a Japanese file on a Western
// system; a short name can be named in any code page.
std::wstring ShortPath(const std::wstring& path) {
  const DWORD needed = GetShortPathNameW(path.c_str(), nullptr, 0);
  if (needed == 0) return path;
  std::wstring shortPath(needed, L'\0');
  const DWORD length = GetShortPathNameW(path.c_str(), shortPath.data(), needed);
  if (length == 0 || length >= needed) return path;
  shortPath.resize(length);
  return shortPath;
}

}  // namespace

Win32SoundPlayer::~Win32SoundPlayer() { Stop(); }

int Win32SoundPlayer::OutputDeviceCount() { return static_cast<int>(waveOutGetNumDevs()); }

void Win32SoundPlayer::PlayLooping(const std::string& file) {
  std::optional<std::wstring> wide = WideFromUtf8(file);
  if (!wide || wide->empty()) {
    Stop();
    return;
  }
  // A new sound replaces whatever the process played before.
  PlaySoundW(ShortPath(*wide).c_str(), nullptr,
             SND_FILENAME | SND_ASYNC | SND_LOOP | SND_NODEFAULT);
}

void Win32SoundPlayer::Stop() { PlaySoundW(nullptr, nullptr, 0); }

}  // namespace orvel
