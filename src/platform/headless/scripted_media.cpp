#include "platform/headless/scripted_media.h"

#include <charconv>
#include <string_view>

namespace orvel {
namespace {

bool StartsWith(std::string_view text, std::string_view start) {
  return text.substr(0, start.size()) == start;
}

std::string TwoDigits(int value) {
  std::string text = std::to_string(value);
  return text.size() < 2 ? "0" + text : text;
}

std::optional<int> WholeNumber(std::string_view text) {
  int value = 0;
  auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
  return value;
}

}  // namespace

std::string FakeCdDrive::TrackStart(int track) { return TwoDigits(4 * (track - 1)) + ":02:00"; }

ScriptedMedia::ScriptedMedia()
    : errorTexts{
          {ScriptedError::UnknownCommand, "unknown command"},
          {ScriptedError::NoDevice, "no such device, or it is not open"},
          {ScriptedError::FileNotFound, "file not found"},
          {ScriptedError::NotReady, "device not ready"},
          {ScriptedError::OutOfRange, "parameter out of range"},
          {ScriptedError::AliasInUse, "alias already in use"},
          {ScriptedError::BadTimeFormat, "unknown time format"},
      } {}

int ScriptedMedia::Send(const std::string& command, std::string& reply) {
  commands.push_back(command);
  reply.clear();
  if (auto answer = script.find(command); answer != script.end()) {
    reply = answer->second.reply;
    return answer->second.code;
  }
  std::string_view text = command;
  std::string_view device = text.substr(text.find(' ') + 1);
  device = device.substr(0, device.find(' '));
  if (device == "cdaudio") return SendToCd(command, reply);
  if (device == "MP3Play" || StartsWith(text, "open \"")) return SendToMp3(command, reply);
  return ScriptedError::NoDevice;
}

std::optional<std::string> ScriptedMedia::ErrorText(int code) {
  auto text = errorTexts.find(code);
  if (text == errorTexts.end()) return std::nullopt;
  return text->second;
}

int ScriptedMedia::SendToCd(const std::string& command, std::string& reply) {
  if (!cd.present) return ScriptedError::NoDevice;
  if (command == "open cdaudio") {
    cd.open = true;
    return 0;
  }
  if (!cd.open) return ScriptedError::NoDevice;

  const std::string_view text = command;
  if (StartsWith(text, "set cdaudio time format ")) {
    return text.substr(24) == "msf" ? 0 : ScriptedError::BadTimeFormat;
  }
  if (command == "status cdaudio mode") {
    reply = cd.tracks > 0 ? cd.mode : "not ready";
    return 0;
  }
  if (command == "stop cdaudio") {
    if (cd.mode == "playing") cd.mode = "stopped";
    return 0;
  }
  if (command == "close cdaudio") {
    cd.open = false;
    return 0;
  }

  // Everything else needs a disc.
  if (StartsWith(text, "status cdaudio ") || StartsWith(text, "play cdaudio")) {
    if (cd.tracks <= 0) return ScriptedError::NotReady;
  }
  if (command == "status cdaudio current track") {
    reply = std::to_string(cd.currentTrack);
    return 0;
  }
  if (command == "status cdaudio number of tracks") {
    reply = std::to_string(cd.tracks);
    return 0;
  }
  if (StartsWith(text, "status cdaudio position track ")) {
    std::optional<int> track = WholeNumber(text.substr(30));
    if (!track) return ScriptedError::UnknownCommand;
    if (*track < 1 || *track > cd.tracks) return ScriptedError::OutOfRange;
    reply = FakeCdDrive::TrackStart(*track);
    return 0;
  }
  if (command == "play cdaudio") {
    cd.mode = "playing";
    return 0;
  }
  if (StartsWith(text, "play cdaudio from ")) {
    const std::string_view from = text.substr(18);
    for (int track = 1; track <= cd.tracks; ++track) {
      if (from == FakeCdDrive::TrackStart(track)) {
        cd.currentTrack = track;
        cd.mode = "playing";
        return 0;
      }
    }
    return ScriptedError::OutOfRange;
  }
  return ScriptedError::UnknownCommand;
}

int ScriptedMedia::SendToMp3(const std::string& command, std::string& reply) {
  const std::string_view text = command;
  if (StartsWith(text, "open \"")) {
    const std::size_t close = text.find('"', 6);
    if (close == std::string_view::npos ||
        text.substr(close + 1) != " type MPEGVideo Alias MP3Play") {
      return ScriptedError::UnknownCommand;
    }
    if (mp3.open) return ScriptedError::AliasInUse;
    const std::string file(text.substr(6, close - 6));
    if (!mp3.playableFiles.contains(file)) return ScriptedError::FileNotFound;
    mp3.open = true;
    mp3.file = file;
    mp3.mode = "stopped";
    return 0;
  }
  if (!mp3.open) return ScriptedError::NoDevice;
  if (command == "status MP3Play mode") {
    reply = mp3.mode;
    return 0;
  }
  if (command == "play MP3Play" || command == "play MP3Play from 0") {
    mp3.mode = "playing";
    return 0;
  }
  if (command == "stop MP3Play") {
    mp3.mode = "stopped";
    return 0;
  }
  if (command == "close MP3Play") {
    mp3.open = false;
    mp3.mode = "stopped";
    return 0;
  }
  return ScriptedError::UnknownCommand;
}

}  // namespace orvel
