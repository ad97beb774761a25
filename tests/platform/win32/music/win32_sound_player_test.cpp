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

// The system's player keeps the file open while it plays it, so that no
// one may write it: that shows from outside whether it still plays.
bool BeingPlayed(const std::wstring& file) {
  HANDLE handle = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return GetLastError() == ERROR_SHARING_VIOLATION;
  CloseHandle(handle);
  return false;
}

// Waits, up to ten seconds, for the file to be let go.
bool LetGo(const std::wstring& file) {
  for (int i = 0; i < 200; ++i) {
    if (!BeingPlayed(file)) return true;
    std::this_thread::sleep_for(50ms);
  }
  return false;
}

class Win32SoundPlayerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!HasAudioOutput()) GTEST_SKIP() << kNoAudioOutput;
    ASSERT_TRUE(folder_.MakeFolder(L"音 楽"));
    ASSERT_TRUE(folder_.Write(L"音 楽\\短い 音.wav", ToneWav(150)));
    ASSERT_TRUE(folder_.Write(L"other.wav", ToneWav(150)));
  }

  Win32TestFolder folder_;
  const std::wstring wav_ = folder_.Wide() + L"\\音 楽\\短い 音.wav";
  const std::wstring other_ = folder_.Wide() + L"\\other.wav";
};

TEST_F(Win32SoundPlayerTest, AShortWavPlaysOverAndOverUntilStopped) {
  Win32SoundPlayer player;
  EXPECT_GE(player.OutputDeviceCount(), 1);
  player.PlayLooping(folder_.Utf8(L"音 楽\\短い 音.wav"));
  // Many times the file's length later, it still plays.
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(BeingPlayed(wav_));
  player.Stop();
  EXPECT_TRUE(LetGo(wav_));
  // Stopping when nothing plays is harmless.
  player.Stop();
}

TEST_F(Win32SoundPlayerTest, ANewFileTakesThePlaceOfTheOldOne) {
  Win32SoundPlayer player;
  player.PlayLooping(folder_.Utf8(L"音 楽\\短い 音.wav"));
  std::this_thread::sleep_for(200ms);
  player.PlayLooping(folder_.Utf8(L"other.wav"));
  EXPECT_TRUE(LetGo(wav_));
  std::this_thread::sleep_for(1s);
  EXPECT_TRUE(BeingPlayed(other_));
  // A file that cannot be played stops the old one and plays nothing.
  player.PlayLooping(folder_.Utf8(L"missing.wav"));
  EXPECT_TRUE(LetGo(other_));
}

TEST_F(Win32SoundPlayerTest, ThePlayerStopsWhenItGoes) {
  {
    Win32SoundPlayer player;
    player.PlayLooping(folder_.Utf8(L"音 楽\\短い 音.wav"));
    std::this_thread::sleep_for(200ms);
  }
  EXPECT_TRUE(LetGo(wav_));
}

}  // namespace
}  // namespace orvel
