#include "platform/win32/dialog/win32_choosers.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

TEST(Win32Choosers, TheFileFilterNamesItsPatternsEachEndedAndTheListClosed) {
  const wchar_t expected[] = L"音楽ファイル\0*.MP3;*.WAV\0";
  EXPECT_EQ(FileFilter(FileRequest{"曲を選ぶ", "音楽ファイル", {"*.MP3", "*.WAV"}}),
            std::wstring(expected, sizeof(expected) / sizeof(wchar_t)));
  const wchar_t one[] = L"Wave\0*.wav\0";
  EXPECT_EQ(FileFilter(FileRequest{"", "Wave", {"*.wav"}}),
            std::wstring(one, sizeof(one) / sizeof(wchar_t)));
  // Without patterns every file is offered rather than none.
  const wchar_t every[] = L"All\0*.*\0";
  EXPECT_EQ(FileFilter(FileRequest{"", "All", {}}),
            std::wstring(every, sizeof(every) / sizeof(wchar_t)));
}

}  // namespace
}  // namespace orvel
