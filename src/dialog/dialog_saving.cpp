// The music file's chooser and the confirm button's save.
#include <array>

#include "dialog/settings_dialog.h"
#include "settings/numbers.h"
#include "settings/settings_store.h"

namespace orvel {
namespace {

using C = DialogControl;

const FileRequest& MusicFileRequest() {
  static const FileRequest request{"ﾌｧｲﾙを開く", "BGMﾌｧｲﾙ (MP3 WAV)", {"*.MP3", "*.WAV"}};
  return request;
}

}  // namespace

bool SettingsDialog::AcceptChosenPath(std::string_view what, const std::string& path) {
  std::string_view reason;
  switch (StoredValueFault(path)) {
    case ValueFault::None:
      return true;
    case ValueFault::NotText:
      reason = "に文字として読めない部分があるため選べません。";
      break;
    case ValueFault::LineBreak:
      reason = "に改行が含まれているため選べません。";
      break;
    case ValueFault::TooLong:
      // The choosers' name buffers never held more.
      reason = "が長すぎるため選べません。";
      break;
  }
  services_.view.ShowMessage(std::string(what) + "のパス" + std::string(reason) + "\n" + path);
  return false;
}

void SettingsDialog::ChooseMusicFile() {
  std::optional<std::string> file = services_.view.ChooseFile(MusicFileRequest());
  if (!file || closed_ || !AcceptChosenPath("ファイル", *file)) return;
  state_.settings.BgmFile = *file;
  SetText(C::lbl_Fname, *file);
}

bool SettingsDialog::SaveSettings() {
  SaverSettings& settings = state_.settings;
  settings.PictureFolder = shown_[C::Folder_Path].text;
  // A repeat text that is no number means no track; a number too large for
  // the setting leaves it as it was.
  const std::string& repeat = shown_[C::BGM_Repeat].text;
  if (!ParseNumber(repeat)) {
    settings.BgmRepeatTrack = 0;
  } else if (std::optional<std::int16_t> track = ParseInt16(repeat, Rounding::HalfEven)) {
    settings.BgmRepeatTrack = *track;
  }

  const std::array<IniEntry, 11> entries = {{
      {SettingsKey::PictureOrder, FormatNumber(settings.PictureOrder)},
      {SettingsKey::PictureSize, FormatNumber(settings.PictureSize)},
      {SettingsKey::ChangeInterval, FormatNumber(shown_.scrollPosition)},
      {SettingsKey::PictureFolder, settings.PictureFolder},
      {SettingsKey::PictureKinds[0], FormatNumber(settings.PictureKinds[0])},
      {SettingsKey::PictureKinds[1], FormatNumber(settings.PictureKinds[1])},
      {SettingsKey::PictureKinds[2], FormatNumber(settings.PictureKinds[2])},
      {SettingsKey::PictureKinds[3], FormatNumber(settings.PictureKinds[3])},
      {SettingsKey::BgmKind, FormatNumber(settings.BgmKind)},
      {SettingsKey::BgmRepeatTrack, FormatNumber(settings.BgmRepeatTrack)},
      {SettingsKey::BgmFile, settings.BgmFile},
  }};
  // All eleven in one replacement of the file: a failure leaves the old file
  // whole, and the user is told rather than left to find the settings lost.
  const IniWriteResult written =
      WriteIniStrings(kSettingsSection, entries, services_.iniFile, services_.files);
  if (!written.outcome) {
    services_.view.ShowMessage("設定を保存できませんでした。\n" + services_.iniFile + "\n" +
                               written.outcome.reason);
    return false;
  }
  if (written.movedToUtf8) {
    services_.view.ShowMessage(
        "Shift-JISで表せない文字があるため、設定ファイルをUTF-8で保存しました。\n" +
        services_.iniFile + "\n古いバージョンのOrvelはこのファイルを読めません。");
  }
  return true;
}

}  // namespace orvel
