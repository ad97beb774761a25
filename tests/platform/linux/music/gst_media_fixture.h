// The media control interpreter on disc images and music made by each test; its sound kept raw.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/linux/music/gst_media_control.h"
#include "temp_folder.h"

namespace orvel {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// One track of a test disc: a tone of `toneHz` (audio), or zeros (data).
struct DiscTrack {
  bool audio = true;
  int seconds = 2;
  int toneHz = 0;
};

// The usual test disc: five tracks of two seconds, track n a tone of 300 + 200 n Hz.
inline int ToneOfTrack(int track) { return 300 + 200 * track; }
inline std::vector<DiscTrack> FiveTrackDisc() {
  std::vector<DiscTrack> tracks;
  for (int track = 1; track <= 5; ++track) tracks.push_back({true, 2, ToneOfTrack(track)});
  return tracks;
}

inline bool WaitFor(const std::function<bool()>& condition) {
  auto until = std::chrono::steady_clock::now() + 10s;
  while (!condition()) {
    if (std::chrono::steady_clock::now() > until) return false;
    std::this_thread::sleep_for(20ms);
  }
  return true;
}

// Samples of one channel in a second of the raw output.
inline constexpr std::size_t kSecond = 44100;
inline double Seconds(std::size_t samples) { return static_cast<double>(samples) / kSecond; }

// The left channel of the raw output (16-bit little-endian stereo at 44100 Hz).
inline std::vector<std::int16_t> ReadLeft(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  std::vector<std::int16_t> left;
  for (unsigned char frame[4]; in.read(reinterpret_cast<char*>(frame), 4);)
    left.push_back(static_cast<std::int16_t>(frame[0] | frame[1] << 8));
  return left;
}

// The tone's frequency over 0.1 s from `first`, from rising zero crossings; 0 past the end.
inline double ToneHz(const std::vector<std::int16_t>& left, std::size_t first) {
  if (first + 4410 > left.size()) return 0;
  int rises = 0;
  for (std::size_t i = first + 1; i < first + 4410; ++i)
    if (left[i - 1] < 0 && left[i] >= 0) ++rises;
  return rises * 10.0;
}

// When the tone first turns to `toneHz` (within 3%), in 10 ms steps; -1 when it never does.
inline double FirstOfTone(const std::vector<std::int16_t>& left, double toneHz) {
  for (std::size_t first = 0; first + 4410 <= left.size(); first += 441)
    if (std::abs(ToneHz(left, first) - toneHz) < 0.03 * toneHz) return Seconds(first);
  return -1;
}

inline std::size_t HeardSamples(const fs::path& raw) {
  std::error_code error;
  std::uintmax_t size = fs::file_size(raw, error);
  return error ? 0 : static_cast<std::size_t>(size / 4);
}

class GstMediaControlTest : public ::testing::Test {
 protected:
  // The device lets go of its files before their folder goes.
  void TearDown() override { device_.reset(); }

  static void Run(const std::string& command) {
    ASSERT_EQ(std::system((command + " >/dev/null 2>&1").c_str()), 0) << command;
  }

  // Writes disc.bin and disc.cue in `folder` (the test's own by default); returns the cue
  // sheet. libcdio reads the BIN file of the sheet's name, whatever the sheet says.
  std::string MakeDisc(const std::vector<DiscTrack>& tracks = FiveTrackDisc(),
                       fs::path folder = {}) {
    if (folder.empty()) folder = root_;
    fs::create_directories(folder);
    const fs::path bin = folder / "disc.bin", cue = folder / "disc.cue";
    std::ofstream binOut(bin, std::ios::binary);
    std::ofstream cueOut(cue);
    cueOut << "FILE \"" << bin.filename().string() << "\" BINARY\n";
    int seconds = 0;
    for (std::size_t at = 0; at < tracks.size(); ++at) {
      const DiscTrack& track = tracks[at];
      if (track.audio) {
        fs::path raw = root_ / "track.raw";
        Run("sox -n -r 44100 -c 2 -b 16 -e signed-integer -L -t raw '" + raw.string() + "' synth " +
            std::to_string(track.seconds) + " sine " + std::to_string(track.toneHz) + " vol 0.5");
        binOut << std::ifstream(raw, std::ios::binary).rdbuf();
      } else {
        binOut << std::string(static_cast<std::size_t>(track.seconds) * 75 * 2352, '\0');
      }
      char index[64];
      std::snprintf(index, sizeof index, "    INDEX 01 %02d:%02d:00\n", seconds / 60, seconds % 60);
      cueOut << "  TRACK " << (at < 9 ? "0" : "") << at + 1
             << (track.audio ? " AUDIO\n" : " MODE1/2352\n") << index;
      seconds += track.seconds;
    }
    return cue.string();
  }
  // Another disc in the drive in place of the one there.
  void ChangeDisc(const std::vector<DiscTrack>& tracks) {
    MakeDisc(tracks, root_ / "other");
    for (const char* file : {"disc.bin", "disc.cue"})
      fs::rename(root_ / "other" / file, root_ / file);
  }

  GstMediaControl& Device(const std::string& cdDrive = "", bool heard = false) {
    if (!device_) {
      GstAudioOutput output =
          heard ? GstAudioOutput::RawFile(Heard().string()) : GstAudioOutput::RealTimeDiscard();
      device_ = std::make_unique<GstMediaControl>(GstMediaControl::Options{output, cdDrive});
    }
    return *device_;
  }
  fs::path Heard() const { return root_ / "heard.raw"; }

  int Code(const std::string& command) {
    std::string reply;
    return Device().Send(command, reply);
  }

  int PlayTrack(const std::string& track) {
    return Code("play cdaudio from " + Ask("status cdaudio position track " + track));
  }
  // The reply of a command that must succeed.
  std::string Ask(const std::string& command) {
    std::string reply;
    int code = Device().Send(command, reply);
    EXPECT_EQ(code, 0) << command << ": " << Device().ErrorText(code).value_or("?");
    return reply;
  }

  TempFolder folder_;
  const fs::path root_ = folder_.path();
  std::unique_ptr<GstMediaControl> device_;
};

}  // namespace orvel
