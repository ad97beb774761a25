// How the saver ends: the mouse origin, the keys, the password and the calls on the way out.
#include <gtest/gtest.h>

#include <tuple>

#include "saver/saver.h"
#include "saver/saver_fixture.h"

namespace orvel {
namespace {

TEST(SaverInput, OnlyADiagonalMoveFromTheFirstReportedPositionEndsASaverRun) {
  for (const std::string arguments : {"/s", ""}) {
    SaverRig rig(arguments);
    rig.saver.Form_Load();
    rig.host.MouseMoveAt(100, 30, 20);     // the origin, nothing more
    rig.host.MouseMoveAt(200, 90, 20);     // along the row, however far
    rig.host.MouseMoveAt(300, 30, 0);      // along the column
    rig.host.MouseMoveAt(400, 30.5f, 20);  // no threshold: still one axis only
    rig.host.MouseMoveAt(1100, 90, 25);    // differs from (30, 20) in both
    rig.RunUntil(1200);
    EXPECT_EQ(rig.CallsMade("Close", true), arguments.empty() ? "" : "Close@1100");
  }
}

TEST(SaverInput, ARefusedPasswordClearsTheOriginSoTheNextMoveOnlyRecordsOne) {
  SaverRig rig("/s");
  rig.platform.system.version = VersionInfo{1, 1};  // 9x: the password is asked
  rig.host.passwordAnswer = false;
  rig.state.CursorDisplayCount = rig.platform.system.ShowCursor(false);  // as at start-up
  rig.saver.Form_Load();
  rig.ClearLog();
  rig.host.MouseMoveAt(100, 30, 20);  // the origin
  rig.host.MouseMoveAt(200, 90, 25);  // diagonal: the password, refused
  rig.host.MouseMoveAt(300, 95, 30);  // a new origin, although diagonal to the last
  rig.host.MouseMoveAt(400, 95, 40);  // along the column from the new origin
  rig.host.MouseMoveAt(500, 96, 41);  // diagonal again: asked again
  rig.RunUntil(600);
  const std::string asked = "QueryVersion, ShowCursor 1, VerifyPassword, ShowCursor 0";
  EXPECT_EQ(rig.CallsMade(), asked + ", " + asked);
  EXPECT_FALSE(rig.saver.Ended());
  EXPECT_EQ(rig.state.CursorDisplayCount, rig.platform.system.cursorCount);

  // A third attempt, granted, ends the saver.
  rig.ClearLog();
  rig.host.passwordAnswer = true;
  rig.host.MouseMoveAt(700, 10, 10);
  rig.host.MouseMoveAt(800, 11, 11);
  rig.RunUntil(900);
  EXPECT_EQ(rig.CallsMade("", true),
            "QueryVersion@800, ShowCursor 1@800, VerifyPassword@800, SystemParameter 97 0@800, "
            "SystemParameter 17 1@800, Close@800");
  EXPECT_TRUE(rig.saver.Ended());
}

TEST(SaverInput, ArrowsChangeTheCdTrackWhenTheMusicIsTheCd) {
  SaverRig rig;
  rig.state.settings.BgmKind = 1;
  rig.saver.Form_Load();
  rig.ClearLog();
  rig.host.KeyDownAt(100, 37);
  rig.host.KeyDownAt(150, 39);
  rig.host.KeyDownAt(190, 38);  // any other key ends it, the other arrows too
  rig.RunUntil(300);
  // Input comes before the timers of its pass: no CD watch at 200.
  EXPECT_EQ(rig.CallsMade("", true),
            "CdPreviousTrack@100, CdNextTrack@166, QueryVersion@200, CdClose@200, "
            "SystemParameter 97 0@200, SystemParameter 17 1@200, Close@200");
}

// A request to close the window (from anyone) ends the saver as a key does, by the same calls.
TEST(SaverInput, EndSaverMakesTheseCallsInThisOrderAndNothingAfterTheEnd) {
  const std::string asked = "QueryVersion, ShowCursor 1, VerifyPassword, ";
  const std::string flags = "SystemParameter 97 0, SystemParameter 17 1, Close";
  // Command line, 9x or NT, the password answer (nullopt: no service), BgmKind, BgmFile, calls.
  using Case =
      std::tuple<std::string, bool, std::optional<bool>, std::int16_t, std::string, std::string>;
  for (const auto& [arguments, nineX, password, kind, file, calls] :
       std::vector<Case>{{"/s", false, false, 0, "song.mp3", "QueryVersion, " + flags},
                         {"-S", true, true, 1, "", asked + "CdClose, " + flags},
                         {"/s", true, std::nullopt, 0, "", asked + flags},
                         {"/s", true, false, 1, "", asked + "ShowCursor 0"},
                         {"/s", false, true, 2, "D:\\Song.MP3", "QueryVersion, Mp3Stop, " + flags},
                         {"/s", false, true, 2, "bell.wav", "QueryVersion, WavStop, " + flags},
                         {"", true, false, 2, "a.mp3", "Mp3Stop, SystemParameter 17 1, Close"}}) {
    for (const bool closeRequest : {false, true}) {
      SaverRig rig(arguments);
      if (nineX) rig.platform.system.version = VersionInfo{1, 1};
      rig.host.passwordAnswer = password;
      rig.state.settings.BgmKind = kind;
      rig.state.settings.BgmFile = file;
      rig.state.CursorDisplayCount = rig.platform.system.ShowCursor(false);  // as at start-up
      rig.saver.Form_Load();
      rig.ClearLog();
      // An arrow ends it without the CD.
      closeRequest ? rig.host.CloseRequestAt(100) : rig.host.KeyDownAt(100, kind == 1 ? 'X' : 37);
      rig.RunUntil(150);
      EXPECT_EQ(rig.CallsMade(), calls) << closeRequest;
      const bool ends = calls.ends_with("Close");
      EXPECT_EQ(rig.saver.Ended(), ends) << calls;
      EXPECT_EQ(rig.state.CursorDisplayCount, rig.platform.system.cursorCount) << calls;
      // Input the platform still had queued finds nobody listening.
      rig.ClearLog();
      rig.saver.KeyDown('Q', 0);
      rig.saver.MouseDown(1, 0, 5, 5);
      EXPECT_EQ(rig.CallsMade().empty(), ends) << calls;
    }
  }
}

}  // namespace
}  // namespace orvel
