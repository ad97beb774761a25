#include "platform/win32/music/win32_sound_player.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "platform/win32/music/win32_audio.h"
#include "platform/win32/win32_test_folder.h"

namespace orvel {
namespace {

using namespace std::chrono_literals;

// The system's player holds the file against writing while it plays it.
bool BeingPlayed(const std::wstring& file) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(handle);
  return false;
}

bool LetGo(const std::wstring& file) {
  for (int i = 0; i < 200; ++i) {
    if (!BeingPlayed(file)) return true;
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

TEST(Win32SoundPlayerTest, AShortWavLoopsUntilStoppedOrReplacedAndStopsWithThePlayer) {
  if (!HasAudioOutput()) GTEST_SKIP() << kNoAudioOutput;
  Win32TestFolder folder;
  ASSERT_TRUE(folder.MakeFolder(L"音 楽"));
  ASSERT_TRUE(folder.Write(L"音 楽\\短い 音.wav", ToneWav(150)));
  ASSERT_TRUE(folder.Write(L"other.wav", ToneWav(150)));
  const std::wstring wav = folder.Wide() + L"\\音 楽\\短い 音.wav";
  const std::wstring other = folder.Wide() + L"\\other.wav";
  {
    Win32SoundPlayer player;
    EXPECT_GE(player.OutputDeviceCount(), 1);
    player.PlayLooping(folder.Utf8(L"音 楽\\短い 音.wav"));
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(BeingPlayed(wav));
    player.PlayLooping(folder.Utf8(L"other.wav"));
    EXPECT_TRUE(LetGo(wav));
    std::this_thread::sleep_for(1s);
    EXPECT_TRUE(BeingPlayed(other));
    player.Stop();
    EXPECT_TRUE(LetGo(other));
    player.Stop();  // harmless when nothing plays
    player.PlayLooping(folder.Utf8(L"other.wav"));
    std::this_thread::sleep_for(200ms);
    player.PlayLooping(folder.Utf8(L"missing.wav"));
    EXPECT_TRUE(LetGo(other));
    player.PlayLooping(folder.Utf8(L"音 楽\\短い 音.wav"));
    std::this_thread::sleep_for(200ms);
  }
  EXPECT_TRUE(LetGo(wav));  // the player stops when it goes
}

}  // namespace
}  // namespace orvel
