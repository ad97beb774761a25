// A media control interpreter and a sound player in memory: they record
// every command and call they get, and answer like a small audio CD drive
// and an MP3 device whose state tests set directly (a disc that reaches its
// end, a drive that goes away, a file that ends).
#pragma once

#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace orvel {

// The fake's error codes.
namespace ScriptedError {
constexpr int UnknownCommand = 261;
constexpr int NoDevice = 263;  // no such device, or it is not open
constexpr int FileNotFound = 275;
constexpr int NotReady = 276;  // no disc in the drive
constexpr int OutOfRange = 282;
constexpr int AliasInUse = 289;
constexpr int BadTimeFormat = 293;
}  // namespace ScriptedError

// The drive behind the device "cdaudio". Positions are "mm:ss:ff" texts,
// each track four minutes long after a two-second lead-in; a play command
// accepts the start of a track of the disc and nothing else.
struct FakeCdDrive {
  bool present = true;  // false: no drive; every "cdaudio" command fails
  int tracks = 8;       // 0: no disc in the drive
  int currentTrack = 1;
  std::string mode = "stopped";
  bool open = false;

  static std::string TrackStart(int track);
};

// The device behind the alias "MP3Play".
struct FakeMp3Device {
  std::set<std::string> playableFiles;  // paths that open; any other fails
  bool open = false;
  std::string file;  // the path it was opened with
  std::string mode = "stopped";
};

class ScriptedMedia : public MediaControl {
 public:
  struct Answer {
    int code = 0;
    std::string reply;
  };

  ScriptedMedia();

  // Every command sent, in order.
  std::vector<std::string> commands;
  // Fixed answers for exact command texts; they win over the devices.
  std::map<std::string, Answer> script;
  // The texts of the error codes; a code missing here has no text.
  std::map<int, std::string> errorTexts;
  FakeCdDrive cd;
  FakeMp3Device mp3;

  int Send(const std::string& command, std::string& reply) override;
  std::optional<std::string> ErrorText(int code) override;

 private:
  int SendToCd(const std::string& command, std::string& reply);
  int SendToMp3(const std::string& command, std::string& reply);
};

// Records "PlayLooping <file>" and "Stop".
class RecordingSoundPlayer : public SoundPlayer {
 public:
  int outputs = 1;
  std::vector<std::string> calls;

  int OutputDeviceCount() override { return outputs; }
  void PlayLooping(const std::string& file) override { calls.push_back("PlayLooping " + file); }
  void Stop() override { calls.push_back("Stop"); }
};

}  // namespace orvel
