#include "app/startup.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "platform/headless/headless_platform.h"

namespace orvel {
namespace {

using Calls = std::vector<std::string>;

// Records which mode the start-up handed over to, in the platform's log.
class RecordingModes : public Modes {
 public:
  explicit RecordingModes(CallLog& log) : log_(log) {}
  void ShowPreview(std::int32_t window) override { log_.Add("Preview " + std::to_string(window)); }
  void ShowSettingsDialog(AppState&) override { log_.Add("Dialog"); }
  bool RunSaver(AppState& state, std::string_view arguments) override {
    log_.Add("Saver '" + std::string(arguments) + "' images " +
             std::to_string(state.catalogue.ImageCount));
    return windowMade;
  }
  bool windowMade = true;

 private:
  CallLog& log_;
};

// A portable install whose settings name a folder with three pictures (or none).
struct StartupTest {
  explicit StartupTest(bool pictures = true) {
    host.files.AddFile("C:\\Program Files\\Orvel\\Orvel.ini",
                       "[Section]\r\n\x89\xE6\x91\x9C\x82\xCC\xCC\xAB\xD9\xC0\xDE=C:\\Pics\r\n");
    for (const char* name : {"c.jpg", "a.bmp", "b.gif"})
      if (pictures) host.files.AddFile("C:\\Pics\\" + std::string(name));
  }

  // The calls made after the two window lookups.
  Calls Run(std::string_view arguments) {
    EXPECT_EQ(Main(arguments, state, host.platform, modes), 0);
    Calls calls = host.log.calls;
    calls.resize(std::max<std::size_t>(calls.size(), 2));
    EXPECT_EQ(Calls(calls.begin(), calls.begin() + 2),
              (Calls{"FindWindow Orvel_Main", "FindWindow Orvelの設定"}));
    return Calls(calls.begin() + 2, calls.end());
  }

  HeadlessPlatform host{PathStyle::Windows};
  AppState state;
  RecordingModes modes{host.log};
};

TEST(Startup, EachCommandLineGoesToItsMode) {
  const auto saver = [](const std::string& arguments) {
    return Calls{"ShowCursor 0", "SystemParameter 97 -1", "Saver '" + arguments + "' images 3"};
  };
  const struct {
    std::string arguments;
    Calls calls;
    VersionInfo version{1, 2};  // NT
  } cases[] = {{"/S", saver("/S")},
               {"/s", saver("/s")},
               {"-s", saver("-s")},
               {"", {"Saver '' images 3"}},  // a test run: pointer and system left alone
               {"s", {}},
               {" /s", {}},
               {"/p 1234", {"Preview 1234"}},
               {"/p", {"Preview 0"}},  // no handle: a window of its own
               {"/P   77x", {"Preview 77"}},
               {"/p 12.5", {"Preview 12"}},  // ties to even
               {"/c:5678", {"Dialog"}},
               {"/a 1234", {"QueryVersion"}},
               {"/a 1234", {"QueryVersion", "ChangePassword SCRSAVE 1234"}, {1, 1}},
               {"/a 7", {"QueryVersion", "ChangePassword SCRSAVE 7"}, {0, 2}},  // the query failed
               {"/a 12ab", {"QueryVersion"}, {1, 1}}};
  for (const auto& [arguments, calls, version] : cases) {
    StartupTest t;
    t.host.system.version = version;
    EXPECT_EQ(t.Run(arguments), calls) << arguments;
    // Every mode but the preview loads the settings; a run makes the display order, with a slot 0.
    const bool preview = !calls.empty() && calls.front().starts_with("Preview");
    EXPECT_EQ(t.state.catalogue.ImageCount, preview ? 0 : 3) << arguments;
    const bool runs = !calls.empty() && calls.back().rfind("Saver", 0) == 0;
    EXPECT_EQ(t.state.catalogue.DisplayOrder.size(), runs ? 4u : 0u) << arguments;
  }
}

TEST(Startup, AnOpenSaverOrDialogWindowEndsEveryMode) {
  for (const char* title : {"Orvel_Main", "Orvelの設定"}) {
    for (const char* arguments : {"/s", "/p 1234", "/c", "", "/a 1"}) {
      StartupTest t;
      t.host.system.openWindows.insert(title);
      EXPECT_EQ(t.Run(arguments), Calls{}) << title << " " << arguments;
      EXPECT_EQ(t.state.catalogue.ImageCount, 0);
    }
  }
}

// No window for the saver: the pointer and the flag go back as the saver's end would put them.
TEST(Startup, ASaverWithoutAWindowGivesBackWhatItsStartSet) {
  for (const std::string arguments : {"/s", ""}) {
    StartupTest t;
    t.modes.windowMade = false;
    const Calls run = {"Saver '" + arguments + "' images 3"};
    const Calls restored = {"ShowCursor 0", "SystemParameter 97 -1", run[0], "ShowCursor 1",
                            "SystemParameter 97 0"};
    EXPECT_EQ(t.Run(arguments), arguments.empty() ? run : restored);
    EXPECT_EQ(t.state.CursorDisplayCount, t.host.system.cursorCount);
  }
}

// A host's window: the settings and the display order as for /s, and nothing asked of the system.
TEST(Startup, PrepareSaverLoadsAndOrdersAndAsksNothingElse) {
  for (const bool pictures : {true, false}) {
    StartupTest t(pictures);
    PrepareSaver(t.state, t.host.platform);
    EXPECT_EQ(t.state.catalogue.ImageCount, pictures ? 3 : 0);
    EXPECT_EQ(t.state.catalogue.DisplayOrder.size(), pictures ? 4u : 0u);
    EXPECT_TRUE(t.host.log.calls.empty());
  }
}

}  // namespace
}  // namespace orvel
