// How the saver ends: the mouse origin, the keys, the password and the exact
// calls made on the way out.
#include <gtest/gtest.h>

#include <algorithm>

#include "saver/saver.h"
#include "saver/saver_fixture.h"

namespace orvel {
namespace {

constexpr int kW = 97;
constexpr int kH = 61;
constexpr VersionInfo kNineX{1, 1};
constexpr VersionInfo kNt{1, 2};

Calls Without(Calls calls, const std::string& prefix) {
  std::erase_if(calls, [&](const std::string& call) { return call.rfind(prefix, 0) == 0; });
  return calls;
}

long CountOf(const Calls& calls, const std::string& call) {
  return std::count(calls.begin(), calls.end(), call);
}

TEST(SaverInput, OnlyADiagonalMoveFromTheFirstReportedPositionEnds) {
  SaverRig rig(kW, kH);
  rig.Start();
  rig.ClearLog();
  rig.host.MouseMoveAt(100, 30, 20);  // the origin, nothing more
  rig.host.MouseMoveAt(200, 90, 20);  // along the row, however far
  rig.host.MouseMoveAt(300, 0, 20);
  rig.host.MouseMoveAt(400, 30, 60);  // along the column
  rig.host.MouseMoveAt(500, 30, 0);
  rig.host.MouseMoveAt(600, 30.5f, 20);  // no threshold: still one axis only
  rig.host.MouseMoveAt(700, 30, 20);
  rig.RunUntil(1000);
  EXPECT_FALSE(rig.saver.Ended());
  EXPECT_TRUE(rig.CallsMade().empty());

  // The origin stayed at (30, 20): (90, 25) differs from it in both.
  rig.host.MouseMoveAt(1100, 90, 25);
  rig.RunUntil(1200);
  EXPECT_TRUE(rig.saver.Ended());
  EXPECT_EQ(rig.TimedCallsOf("Close"), Calls{"Close@1100"});
}

TEST(SaverInput, ScriptedInputArrivesInTimeOrderWhateverOrderItWasScriptedIn) {
  SaverRig rig(kW, kH);
  rig.state.settings.BgmKind = 1;
  rig.host.KeyDownAt(900, 'X');
  rig.host.KeyDownAt(100, 39);
  rig.host.KeyDownAt(500, 37);
  rig.Start();
  rig.ClearLog();
  rig.RunUntil(1000);
  EXPECT_EQ(Without(rig.TimedCalls(), "CdWatch"),
            (Calls{"CdNextTrack@100", "CdPreviousTrack@500", "QueryVersion@900", "CdClose@900",
                   "SystemParameter 97 0@900", "SystemParameter 17 1@900", "Close@900"}));
}

TEST(SaverInput, ATestRunIgnoresTheMouseAndEndsWithoutPasswordOrSaverFlag) {
  for (const bool byKey : {false, true}) {
    SCOPED_TRACE(byKey ? "key" : "click");
    SaverRig rig(kW, kH, "");
    rig.platform.system.version = kNineX;
    rig.state.settings.BgmKind = 2;
    rig.state.settings.BgmFile = "chime.wav";
    rig.Start();
    rig.ClearLog();
    rig.host.MouseMoveAt(100, 10, 10);
    rig.host.MouseMoveAt(200, 50, 40);
    rig.host.MouseMoveAt(300, 0, 0);
    rig.RunUntil(500);
    EXPECT_FALSE(rig.saver.Ended());

    if (byKey) {
      rig.host.KeyDownAt(600, 'K');
    } else {
      rig.host.MouseDownAt(600);
    }
    rig.RunUntil(700);
    EXPECT_TRUE(rig.saver.Ended());
    EXPECT_EQ(rig.CallsMade(), (Calls{"WavStop", "SystemParameter 17 1", "Close"}));
  }
}

TEST(SaverInput, ArrowsChangeTheCdTrackOnlyWhenTheMusicIsTheCd) {
  SaverRig rig(kW, kH);
  rig.state.settings.BgmKind = 1;
  rig.Start();
  rig.ClearLog();
  rig.host.KeyDownAt(100, 37);
  rig.host.KeyDownAt(250, 39);
  rig.host.KeyDownAt(300, 39);
  rig.RunUntil(500);
  // The shift state does not matter.
  rig.saver.KeyDown(37, 1);
  EXPECT_FALSE(rig.saver.Ended());
  EXPECT_EQ(
      Without(rig.TimedCalls(), "CdWatch"),
      (Calls{"CdPreviousTrack@100", "CdNextTrack@266", "CdNextTrack@300", "CdPreviousTrack@500"}));

  // Any other key, the other arrows and the modifiers included, ends it.
  rig.ClearLog();
  rig.host.KeyDownAt(600, 38);
  rig.RunUntil(700);
  EXPECT_TRUE(rig.saver.Ended());
  EXPECT_EQ(
      Without(rig.CallsMade(), "CdWatch"),
      (Calls{"QueryVersion", "CdClose", "SystemParameter 97 0", "SystemParameter 17 1", "Close"}));

  for (const std::int16_t kind : std::initializer_list<std::int16_t>{0, 2}) {
    for (const int key : {37, 39, 16}) {
      SaverRig other(kW, kH);
      other.state.settings.BgmKind = kind;
      other.Start();
      other.ClearLog();
      other.host.KeyDownAt(100, key);
      other.RunUntil(200);
      EXPECT_TRUE(other.saver.Ended()) << "BgmKind " << kind << " key " << key;
      EXPECT_EQ(
          CountOf(other.CallsMade(), "CdPreviousTrack") + CountOf(other.CallsMade(), "CdNextTrack"),
          0);
    }
  }
}

TEST(SaverInput, EndSaverMakesTheseCallsInThisOrder) {
  struct Case {
    std::string name;
    std::string arguments;
    VersionInfo version;
    std::optional<bool> password;
    std::int16_t bgmKind;
    std::string bgmFile;
    Calls calls;
  };
  const Calls asked = {"QueryVersion", "ShowCursor 1", "VerifyPassword"};
  auto then = [](Calls calls, const Calls& more) {
    calls.insert(calls.end(), more.begin(), more.end());
    return calls;
  };
  const Calls flags = {"SystemParameter 97 0", "SystemParameter 17 1", "Close"};
  const std::vector<Case> cases = {
      {"saver on NT", "/s", kNt, false, 0, "", then({"QueryVersion"}, flags)},
      {"hyphen S on NT", "-S", kNt, false, 0, "", then({"QueryVersion"}, flags)},
      {"saver on 9x, accepted", "/s", kNineX, true, 0, "", then(asked, flags)},
      // No password service to ask: the saver ends rather than lock the
      // user out.
      {"saver on 9x, no password service", "/s", kNineX, std::nullopt, 0, "", then(asked, flags)},
      {"saver on 9x, refused", "/s", kNineX, false, 0, "", then(asked, {"ShowCursor 0"})},
      {"CD on 9x, accepted", "/s", kNineX, true, 1, "", then(asked, then({"CdClose"}, flags))},
      {"CD on 9x, refused", "/s", kNineX, false, 1, "", then(asked, {"ShowCursor 0"})},
      {"MP3 on NT", "/s", kNt, true, 2, "D:\\Music\\Song.MP3",
       then({"QueryVersion", "Mp3Stop"}, flags)},
      {"WAV on NT", "/s", kNt, true, 2, "bell.wav", then({"QueryVersion", "WavStop"}, flags)},
      {"other file on NT", "/s", kNt, true, 2, "tune.mid", then({"QueryVersion"}, flags)},
      {"file name with no music kind", "/s", kNt, true, 0, "song.mp3",
       then({"QueryVersion"}, flags)},
      {"test run on 9x",
       "",
       kNineX,
       false,
       2,
       "song.mp3",
       {"Mp3Stop", "SystemParameter 17 1", "Close"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SaverRig rig(kW, kH, c.arguments);
    rig.platform.system.version = c.version;
    rig.host.passwordAnswer = c.password;
    rig.state.settings.BgmKind = c.bgmKind;
    rig.state.settings.BgmFile = c.bgmFile;
    if (!c.arguments.empty()) rig.HidePointerAsStartUpDoes();
    rig.Start();
    rig.ClearLog();
    rig.host.KeyDownAt(100, 'X');
    rig.RunUntil(150);
    EXPECT_EQ(rig.CallsMade(), c.calls);
    const bool ends = c.calls.back() == "Close";
    EXPECT_EQ(rig.saver.Ended(), ends);
    EXPECT_EQ(rig.host.closed, ends);
    // The pointer count is handed back after each call.
    EXPECT_EQ(rig.state.CursorDisplayCount, rig.platform.system.cursorCount);
  }
}

TEST(SaverInput, ARefusedPasswordKeepsTheSaverGoingAndTheNextAttemptAsksAgain) {
  SaverRig rig(kW, kH);
  rig.platform.system.version = kNineX;
  rig.host.passwordAnswer = false;
  rig.state.settings.BgmKind = 1;
  rig.HidePointerAsStartUpDoes();
  rig.Start();
  rig.ClearLog();
  rig.host.MouseMoveAt(100, 10, 10);  // origin
  rig.host.MouseMoveAt(200, 20, 20);  // diagonal: asks, refused
  rig.host.MouseMoveAt(300, 30, 30);  // only records a new origin
  rig.host.MouseMoveAt(400, 30, 50);  // straight from the new origin
  rig.host.MouseMoveAt(500, 40, 40);  // diagonal again: asks again
  rig.RunUntil(600);

  const Calls attempt = {"QueryVersion", "ShowCursor 1", "VerifyPassword", "ShowCursor 0"};
  auto at = [](const Calls& calls, const std::string& time) {
    Calls timed;
    for (const std::string& call : calls) timed.push_back(call + "@" + time);
    return timed;
  };
  Calls expected = at(attempt, "200");
  for (const std::string& call : at(attempt, "500")) expected.push_back(call);
  EXPECT_EQ(Without(rig.TimedCalls(), "CdWatch"), expected);
  EXPECT_FALSE(rig.saver.Ended());
  EXPECT_EQ(rig.platform.system.cursorCount, -1);
  EXPECT_EQ(rig.state.CursorDisplayCount, -1);
  // The animation and the CD watch went on.
  EXPECT_EQ(rig.host.framesPresented, 19);
  EXPECT_EQ(rig.TimedCallsOf("CdWatch").back(), "CdWatch@600");

  rig.host.passwordAnswer = true;
  rig.ClearLog();
  rig.host.MouseDownAt(700);
  rig.RunUntil(800);
  EXPECT_TRUE(rig.saver.Ended());
  EXPECT_EQ(Without(rig.CallsMade(), "CdWatch"),
            (Calls{"QueryVersion", "ShowCursor 1", "VerifyPassword", "CdClose",
                   "SystemParameter 97 0", "SystemParameter 17 1", "Close"}));
  EXPECT_EQ(rig.platform.system.cursorCount, 0);
}

TEST(SaverInput, ThePasswordPromptShowsThePointerWhateverItsCountWas) {
  // A pointer count of 1 before the start leaves 0 after the hide.
  SaverRig rig(kW, kH);
  rig.platform.system.version = kNineX;
  rig.platform.system.cursorCount = 1;
  rig.HidePointerAsStartUpDoes();
  ASSERT_EQ(rig.state.CursorDisplayCount, 0);
  rig.host.passwordAnswer = false;
  rig.Start();
  rig.ClearLog();
  rig.host.KeyDownAt(100, 'X');
  rig.RunUntil(100);
  EXPECT_EQ(rig.CallsMade(),
            (Calls{"QueryVersion", "ShowCursor 1", "VerifyPassword", "ShowCursor 0"}));
  EXPECT_EQ(rig.platform.system.cursorCount, 0);
}

TEST(SaverInput, CdIsClosedOnlyWhileItsWatchIsStillOn) {
  SaverRig rig(kW, kH);
  rig.state.settings.BgmKind = 1;
  rig.music.cdAnswers = false;
  rig.Start();
  rig.host.KeyDownAt(300, 'X');
  rig.RunUntil(400);
  EXPECT_TRUE(rig.saver.Ended());
  const Calls calls = rig.CallsMade();
  EXPECT_EQ(CountOf(calls, "CdWatch"), 1);
  EXPECT_EQ(CountOf(calls, "CdClose"), 0);
  EXPECT_EQ(CountOf(calls, "Close"), 1);
}

TEST(SaverInput, NothingIsHandledAfterTheEndAndRunReturns) {
  SaverRig rig(kW, kH);
  rig.state.settings.BgmKind = 2;
  rig.state.settings.BgmFile = "song.mp3";
  rig.host.MouseMoveAt(400, 5, 5);
  rig.host.KeyDownAt(500, 'Q');
  rig.host.MouseDownAt(500);
  rig.host.MouseMoveAt(500, 50, 50);
  rig.host.KeyDownAt(700, 'Z');
  rig.saver.Run();

  EXPECT_TRUE(rig.saver.Ended());
  EXPECT_EQ(rig.host.framesPresented, 16);  // 0 to 500 ms
  Calls calls = rig.CallsMade();
  EXPECT_EQ(CountOf(calls, "Mp3Stop"), 1);
  EXPECT_EQ(CountOf(calls, "Close"), 1);
  EXPECT_EQ(calls.back(), "Close");

  // A platform that still hands over input it had queued finds nobody
  // listening.
  rig.ClearLog();
  rig.saver.KeyDown('Q', 0);
  rig.saver.MouseDown(1, 0, 5, 5);
  rig.saver.MouseMove(0, 0, 60, 60);
  rig.saver.MouseMove(0, 0, 70, 70);
  EXPECT_TRUE(rig.CallsMade().empty());
}

}  // namespace
}  // namespace orvel
