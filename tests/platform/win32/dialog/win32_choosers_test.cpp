#include "platform/win32/dialog/win32_choosers.h"

#include <gtest/gtest.h>

#include <string>

namespace orvel {
namespace {

TEST(Win32Choosers, TheFileFilterNamesItsPatternsEachEndedAndTheListClosed) {
  using namespace std::string_literals;
  EXPECT_EQ(FileFilter(FileRequest{"曲を選ぶ", "音楽ファイル", {"*.MP3", "*.WAV"}}),
            L"音楽ファイル\0*.MP3;*.WAV\0\0"s);
  EXPECT_EQ(FileFilter(FileRequest{"", "Wave", {"*.wav"}}), L"Wave\0*.wav\0\0"s);
  // Without patterns every file is offered rather than none.
  EXPECT_EQ(FileFilter(FileRequest{"", "All", {}}), L"All\0*.*\0\0"s);
}

}  // namespace
}  // namespace orvel
