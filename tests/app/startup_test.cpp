#include "app/startup.h"

#include <gtest/gtest.h>

#include "platform/headless/headless_platform.h"

namespace orvel {
namespace {

using Calls = std::vector<std::string>;

// Records which mode the start-up handed over to, in the platform's log.
class RecordingModes : public Modes {
 public:
  explicit RecordingModes(CallLog& log) : log_(log) {}
  void ShowPreview(std::int32_t hostWindow) override {
    log_.Add("Preview " + std::to_string(hostWindow));
  }
  void ShowSettingsDialog(AppState&) override { log_.Add("Dialog"); }
  void RunSaver(AppState& state, std::string_view arguments) override {
    log_.Add("Saver '" + std::string(arguments) + "' images " +
             std::to_string(state.catalogue.ImageCount));
  }

 private:
  CallLog& log_;
};

// A portable install whose settings name a folder with three pictures.
struct StartupTest {
  StartupTest() {
    host.files.AddFile("C:\\Program Files\\Orvel\\Orvel.ini",
                       "[Section]\r\n\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE="
                       "C:\\Pics\r\n");
    for (const char* name : {"c.jpg", "a.bmp", "b.gif"})
      host.files.AddFile("C:\\Pics\\" + std::string(name));
  }

  // The calls made after the two window lookups.
  Calls Run(std::string_view arguments) {
    EXPECT_EQ(Main(arguments, state, host.platform, modes), 0);
    Calls calls = host.log.calls;
    if (calls.size() < 2) return {"(the window lookups are missing)"};
    EXPECT_EQ(calls[0], "FindWindow Orvel_Main");
    EXPECT_EQ(calls[1], "FindWindow Orvelの設定");
    return Calls(calls.begin() + 2, calls.end());
  }

  HeadlessPlatform host{PathStyle::Windows};
  AppState state;
  RecordingModes modes{host.log};
};

TEST(Startup, SaverSwitchInAnyFormHidesThePointerAndTellsTheSystem) {
  for (const char* arguments : {"/S", "/s", "-s", "xs"}) {
    StartupTest fresh;
    EXPECT_EQ(fresh.Run(arguments), (Calls{"ShowCursor 0", "SystemParameter 97 -1",
                                           "Saver '" + std::string(arguments) + "' images 3"}))
        << arguments;
    EXPECT_EQ(fresh.state.CursorDisplayCount, -1);
  }
}

TEST(Startup, EmptyCommandLineIsATestRunWithTheCursorLeftAlone) {
  StartupTest t;
  EXPECT_EQ(t.Run(""), Calls{"Saver '' images 3"});
}

TEST(Startup, UnrecognisedSwitchesEndAfterLoadingTheSettings) {
  for (const char* arguments : {"s", " /s", "/x", "/"}) {
    StartupTest fresh;
    EXPECT_EQ(fresh.Run(arguments), Calls{}) << arguments;
    EXPECT_EQ(fresh.state.catalogue.ImageCount, 3) << arguments;
  }
}

TEST(Startup, PreviewReadsTheHandleLenientlyAndLoadsNoSettings) {
  const std::pair<const char*, const char*> cases[] = {
      {"/p 1234", "Preview 1234"}, {"/p:1234", "Preview 1234"},    {"/P 99xyz", "Preview 99"},
      {"/p", "Preview 0"},         {"/p nothing", "Preview 0"},    {"/p   12.5", "Preview 12"},
      {"/p 13.5", "Preview 14"},   {"/p 99999999999", "Preview 0"}};
  for (auto [arguments, expected] : cases) {
    StartupTest fresh;
    EXPECT_EQ(fresh.Run(arguments), Calls{expected}) << arguments;
    EXPECT_EQ(fresh.state.catalogue.ImageCount, 0) << "settings were loaded for " << arguments;
    EXPECT_EQ(fresh.host.files.listCalls, 0);
  }
}

TEST(Startup, SettingsDialogOpensForTheConfigureSwitchWithOrWithoutHandle) {
  StartupTest t;
  EXPECT_EQ(t.Run("/c:5678"), Calls{"Dialog"});
  EXPECT_EQ(t.state.catalogue.ImageCount, 3);
  StartupTest plain;
  EXPECT_EQ(plain.Run("/C"), Calls{"Dialog"});
}

TEST(Startup, PasswordChangeOnlyOnThe9xFamilyAndOnlyWithANumericOwner) {
  StartupTest t;
  EXPECT_EQ(t.Run("/a 1234"), Calls{"QueryVersion"});

  StartupTest old;
  old.host.system.version = {1, 1};
  EXPECT_EQ(old.Run("/a 1234"), (Calls{"QueryVersion", "ChangePassword SCRSAVE 1234"}));

  StartupTest rounded;
  rounded.host.system.version = {1, 1};
  EXPECT_EQ(rounded.Run("/a 2.5"), (Calls{"QueryVersion", "ChangePassword SCRSAVE 2"}));

  StartupTest garbage;
  garbage.host.system.version = {1, 1};
  EXPECT_EQ(garbage.Run("/a 12ab"), Calls{"QueryVersion"});

  StartupTest failedQuery;
  failedQuery.host.system.version = {0, 2};
  EXPECT_EQ(failedQuery.Run("/a 7"), (Calls{"QueryVersion", "ChangePassword SCRSAVE 7"}));
}

TEST(Startup, AnOpenSaverOrDialogEndsEveryModeBeforeAnythingElse) {
  for (const char* title : {"Orvel_Main", "Orvelの設定"}) {
    for (const char* arguments : {"/s", "/p 1234", "/c", "", "/a 1"}) {
      StartupTest fresh;
      fresh.host.system.openWindows.insert(title);
      EXPECT_EQ(fresh.Run(arguments), Calls{}) << title << " " << arguments;
      EXPECT_EQ(fresh.state.catalogue.ImageCount, 0);
    }
  }
}

TEST(Startup, DisplayOrderIsAllocatedOnlyWhenThereArePictures) {
  StartupTest t;
  t.Run("/s");
  ASSERT_EQ(t.state.catalogue.DisplayOrder.size(), 4u);
  EXPECT_EQ(t.state.catalogue.DisplayOrder[1], 1);
  EXPECT_EQ(t.state.catalogue.DisplayOrder[3], 3);

  StartupTest empty;
  empty.host.files.Remove("C:\\Pics\\a.bmp");
  empty.host.files.Remove("C:\\Pics\\b.gif");
  empty.host.files.Remove("C:\\Pics\\c.jpg");
  EXPECT_EQ(empty.Run("/s"),
            (Calls{"ShowCursor 0", "SystemParameter 97 -1", "Saver '/s' images 0"}));
  EXPECT_TRUE(empty.state.catalogue.DisplayOrder.empty());
}

TEST(StartupHelpers, ModeLetterAndSystemFlags) {
  EXPECT_EQ(ModeLetter("/s"), 'S');
  EXPECT_EQ(ModeLetter("s"), std::nullopt);
  EXPECT_EQ(ModeLetter(""), std::nullopt);
  EXPECT_EQ(ModeLetter("-c:12"), 'C');

  CallLog log;
  HeadlessSystem system(log);
  EnableSystemKeys(true, system);
  EnableSystemKeys(false, system);
  EXPECT_EQ(log.calls, (Calls{"SystemParameter 97 0", "SystemParameter 97 -1"}));
  system.version = {1, 2};
  EXPECT_TRUE(IsWindowsNT(system));
  system.version = {0, 2};
  EXPECT_FALSE(IsWindowsNT(system));
  system.version = {1, 1};
  EXPECT_FALSE(IsWindowsNT(system));
}

}  // namespace
}  // namespace orvel
