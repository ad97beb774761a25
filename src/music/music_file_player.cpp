#include "music/music_file_player.h"

#include <string>

namespace orvel {

void MusicFilePlayer::Mp3Start() {
  const std::string& file = settings_.BgmFile;
  // The whole path goes in double quotes, uncut, so that blanks and long
  // names reach the device intact. A name that holds a double quote itself
  // cannot be written in a command at all; it is not opened, just as a
  // file that does not exist.
  int code = -1;
  if (file.find('"') == std::string::npos) {
    code = channel_.SendDirect("open \"" + file + "\" type MPEGVideo Alias MP3Play");
  }
  if (code == 0) channel_.SendDirect("play MP3Play");
}

bool MusicFilePlayer::Mp3IsPlaying() {
  const std::string mode = channel_.QueryDirect("status MP3Play mode", kMp3ModeBuffer);
  return mode.substr(0, 7) == "playing";
}

void MusicFilePlayer::Mp3KeepLooping() {
  if (Mp3IsPlaying()) return;
  // Ended, or stopped or paused by someone else: again from the beginning.
  // After a failed open these fail too, silently.
  channel_.SendDirect("stop MP3Play");
  channel_.SendDirect("play MP3Play from 0");
}

void MusicFilePlayer::Mp3Stop() {
  channel_.SendDirect("stop MP3Play");
  channel_.SendDirect("close MP3Play");
}

}  // namespace orvel
