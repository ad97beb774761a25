#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <ctime>
#include <string>
#include <thread>

#include "platform/win32/system/wide_text.h"
#include "platform/win32/system/win32_platform.h"
#include "settings/settings_store.h"

namespace orvel {
namespace {

using namespace std::chrono_literals;

TEST(Win32TextTest, Utf8AndUtf16RoundTrip) {
  EXPECT_EQ(WideFromUtf8("Orvelの設定 ｲﾝﾀｰﾊﾞﾙ 🎵"), L"Orvelの設定 ｲﾝﾀｰﾊﾞﾙ 🎵");
  EXPECT_EQ(Utf8FromWide(L"Orvelの設定 ｲﾝﾀｰﾊﾞﾙ 🎵"), "Orvelの設定 ｲﾝﾀｰﾊﾞﾙ 🎵");
  EXPECT_EQ(WideFromUtf8(""), L"");
  EXPECT_EQ(Utf8FromWide(L""), "");
  EXPECT_FALSE(WideFromUtf8("bad\xff").has_value());
  EXPECT_FALSE(WideFromUtf8("\xed\xa0\x80").has_value());  // a surrogate
  EXPECT_FALSE(WideFromUtf8(std::string("cut\0off", 7)).has_value());
  EXPECT_EQ(Utf8FromWide(std::wstring(1, wchar_t(0xD800)) + L"a"), "\357\277\275a");
}

TEST(Win32LocationsTest, TheSettingsFileIsBesideTheProgramWhenItIsThereOtherwiseInAppData) {
  Win32Locations locations;
  Win32FileSystem files;
  const std::string programFolder = locations.ProgramFolder();
  wchar_t module[32768] = {};
  GetModuleFileNameW(nullptr, module, 32768);
  EXPECT_EQ(*WideFromUtf8(programFolder + "\\") + (std::wcsrchr(module, L'\\') + 1), module);

  wchar_t appData[32768] = {};
  ASSERT_GT(GetEnvironmentVariableW(L"APPDATA", appData, 32768), 0u);
  EXPECT_EQ(locations.UserSettingsFolder(), Utf8FromWide(appData) + "\\Orvel");

  const std::string beside = programFolder + "\\Orvel.ini";
  ASSERT_FALSE(files.Attributes(beside).has_value()) << "a settings file was left beside the tests";
  EXPECT_EQ(IniFilePath(locations, files), locations.UserSettingsFolder() + "\\Orvel.ini");
  ASSERT_TRUE(files.ReplaceFile(beside, "[Section]\r\n"));
  EXPECT_EQ(IniFilePath(locations, files), beside);
  DeleteFileW(WideFromUtf8(beside)->c_str());
}

TEST(Win32ClockTest, CountsMillisecondsAndSeedsFromTheTimeOfDay) {
  Win32Clock clock;
  const std::int64_t start = clock.MonotonicMs();
  std::int64_t last = start;
  for (int i = 0; i < 100000; ++i) {
    const std::int64_t now = clock.MonotonicMs();
    ASSERT_GE(now, last);
    last = now;
  }
  std::this_thread::sleep_for(200ms);
  const std::int64_t slept = clock.MonotonicMs() - start;
  EXPECT_GE(slept, 100);
  EXPECT_LT(slept, 60000);

  const std::uint64_t seed = clock.SeedFromTime();
  const std::int64_t seconds = static_cast<std::int64_t>(seed / 10'000'000) - 11'644'473'600;
  EXPECT_LT(std::abs(seconds - static_cast<std::int64_t>(std::time(nullptr))), 60);
  std::this_thread::sleep_for(50ms);
  EXPECT_NE(clock.SeedFromTime(), seed);
}

TEST(Win32SystemTest, FindsWindowsByTheirJapaneseTitles) {
  Win32System system;
  EXPECT_FALSE(system.WindowExists("Orvelの設定"));
  HWND window = CreateWindowExW(0, L"STATIC", L"Orvelの設定", WS_POPUP, 0, 0, 10, 10, nullptr,
                                nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) GTEST_SKIP() << "no window can be made here: run under an X display";
  EXPECT_TRUE(system.WindowExists("Orvelの設定"));
  EXPECT_FALSE(system.WindowExists("Orvelの"));
  EXPECT_FALSE(system.WindowExists("bad\xff"));
  DestroyWindow(window);
  EXPECT_FALSE(system.WindowExists("Orvelの設定"));
}

// The NT family's mpr.dll lacks the 9x password dialog, so it is loaded only when asked for.
TEST(Win32SystemTest, AnswersAsTheNtFamilyAndReachesThePointerAndTheSystemParameters) {
  Win32System system;
  const VersionInfo version = system.QueryVersion();
  EXPECT_EQ(version.result, 1);
  EXPECT_EQ(version.platformId, 2);
  EXPECT_EQ(GetModuleHandleW(L"mpr.dll"), nullptr);

  const int hidden = system.ShowCursor(false);
  EXPECT_EQ(system.ShowCursor(true), hidden + 1);
  EXPECT_EQ(system.ShowCursor(false), hidden);
  system.ShowCursor(true);

  BOOL before = FALSE;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &before, 0));
  for (BOOL active : {FALSE, TRUE}) {
    EXPECT_TRUE(system.SetSystemParameter(SPI_SETSCREENSAVEACTIVE, active));
    BOOL now = !active;
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETSCREENSAVEACTIVE, 0, &now, 0));
    EXPECT_EQ(now, active);
  }
  system.SetSystemParameter(SPI_SETSCREENSAVEACTIVE, before);
}

}  // namespace
}  // namespace orvel
