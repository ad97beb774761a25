#include "music/mci_music.h"

namespace orvel {

MciMusic::MciMusic(const SaverSettings& settings, MediaControl& media, SoundPlayer& sound)
    : channel_(media), cd_(channel_, settings), file_(channel_, settings), wav_(sound, settings) {}

void MciMusic::CdOpen() { cd_.CdOpen(); }
void MciMusic::CdWatch() { cd_.CdWatch(); }
bool MciMusic::CdWatchOk() const { return cd_.CdWatchOk(); }
void MciMusic::CdPreviousTrack() { cd_.CdPreviousTrack(); }
void MciMusic::CdNextTrack() { cd_.CdNextTrack(); }
void MciMusic::CdClose() { cd_.CdClose(); }

void MciMusic::Mp3Start() { file_.Mp3Start(); }
void MciMusic::Mp3KeepLooping() { file_.Mp3KeepLooping(); }
void MciMusic::Mp3Stop() { file_.Mp3Stop(); }

void MciMusic::WavStart() { wav_.WavStart(); }
void MciMusic::WavStop() { wav_.WavStop(); }

}  // namespace orvel
