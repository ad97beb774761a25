#include "platform/linux/system/command_line.h"

#include <gtest/gtest.h>

#include <vector>

namespace orvel {
namespace {

CommandLine Parse(std::vector<std::string> arguments,
                  std::optional<std::string_view> hostWindow = std::nullopt) {
  return ParseCommandLine(arguments, hostWindow);
}

TEST(CommandLine, HackSwitchesAndTheHostsVariableNameWhereToDraw) {
  using K = HackTarget::Kind;
  struct Case {
    std::vector<std::string> arguments;
    std::optional<std::string_view> hostWindow;
    K kind;
    unsigned long window;
  };
  const Case cases[] = {
      {{"-root"}, std::nullopt, K::Root, 0},
      // xscreensaver passes -root and names its window in the variable.
      {{"-root"}, "0x1e00007", K::Window, 0x1e00007},
      {{"--root"}, "0x1e00007", K::Window, 0x1e00007},
      {{"--window-id", "0x2A"}, std::nullopt, K::Window, 42},
      {{}, "31457287", K::Window, 31457287},
      {{"-window"}, "0x1e00007", K::OwnWindow, 0},
      {{"-window-id", "0x2A"}, std::nullopt, K::Window, 42},
      {{"-window-id", "0X2a"}, std::nullopt, K::Window, 42},
      {{"-window-id", "42"}, "0x99", K::Window, 42},
      // The last switch counts.
      {{"-window-id", "7", "-root"}, std::nullopt, K::Root, 0},
  };
  for (const Case& c : cases) {
    const CommandLine line = Parse(c.arguments, c.hostWindow);
    ASSERT_EQ(line.kind, CommandLine::Kind::Hack) << c.arguments.size();
    EXPECT_EQ(line.target.kind, c.kind);
    EXPECT_EQ(line.target.window, c.window);
  }
}

TEST(CommandLine, AWindowIdThatIsNoWindowIdIsRefusedWithWhatIsWrong) {
  for (const char* id : {"", "0", "0x", "zz", "12abc", "-5", "0x20000000", "99999999999"}) {
    const CommandLine line = Parse({"-window-id", id});
    EXPECT_EQ(line.kind, CommandLine::Kind::Invalid) << id;
    EXPECT_NE(line.error.find(id), std::string::npos) << line.error;
  }
  EXPECT_EQ(Parse({"-window-id"}).kind, CommandLine::Kind::Invalid);
  EXPECT_EQ(Parse({"-root"}, "bogus").error, "XSCREENSAVER_WINDOW=bogus: not a window id");
  EXPECT_EQ(Parse({"-root", "-fps"}).error, "unknown switch -fps after -root");
}

TEST(CommandLine, TheSaversSwitchesGoToTheCoreAsOneText) {
  const CommandLine saver = Parse({"/p", "1234"}, "0x1e00007");
  EXPECT_EQ(saver.kind, CommandLine::Kind::Saver);
  EXPECT_EQ(saver.arguments, "/p 1234");
  EXPECT_EQ(Parse({}).kind, CommandLine::Kind::Saver);
  EXPECT_EQ(Parse({"--help", "/s"}).kind, CommandLine::Kind::Help);
  EXPECT_EQ(Parse({"--version"}).kind, CommandLine::Kind::Version);
  // Anywhere but first, --help is a switch the saver does not know.
  EXPECT_EQ(Parse({"/s", "--help"}).arguments, "/s --help");
}

TEST(CommandLine, OnlyTheSaversOwnLettersAreKnownSwitches) {
  for (const char* known : {"", "/s", "/S", "-s", "/c:1234", "/p 99", "/a 5"})
    EXPECT_TRUE(KnownSaverSwitches(known)) << known;
  for (const char* unknown : {"/x", "s", "--version2", "-rootx"})
    EXPECT_FALSE(KnownSaverSwitches(unknown)) << unknown;
  EXPECT_NE(HelpText("/home/u/.config/orvel/Orvel.ini").find("/home/u/.config/orvel/Orvel.ini"),
            std::string::npos);
}

}  // namespace
}  // namespace orvel
