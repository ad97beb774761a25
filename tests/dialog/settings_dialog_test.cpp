#include "dialog/settings_dialog.h"

#include <gtest/gtest.h>

#include "dialog/dialog_painter.h"
#include "platform/headless/headless_dialog_view.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_saver.h"
#include "settings/settings_store.h"
#include "settings/shift_jis.h"

namespace orvel {
namespace {

using C = DialogControl;

class SettingsDialogTest : public ::testing::Test {
 protected:
  HeadlessPlatform host;
  AppState state;
  HeadlessDialogView view{host.log};
  MemoryPictureLoader pictures;
  PictureLoader* loader = &pictures;
  const std::string ini = "C:\\Orvel\\Orvel.ini";
  std::optional<SettingsDialog> dialog;

  // The settings file's lines after "[Section]", in UTF-8.
  void WriteSettings(const std::string& lines) {
    host.files.AddFile(ini, *Utf8ToShiftJis("[Section]\r\n" + lines));
  }

  // Opens the dialog, on a settings file of these lines when given.
  void Open(std::optional<std::string> lines = std::nullopt) {
    if (lines) WriteSettings(*lines);
    view.closed = false;
    LoadSettings(state.settings, state.catalogue, ini, host.files);
    dialog.emplace(state, DialogServices{view, host.files, *loader, ini});
    dialog->Load();
  }

  const ControlState& At(C control) const { return dialog->State()[control]; }
  Look LookOf(C control) const { return At(control).look; }
  std::vector<Look> LooksOf(std::initializer_list<C> controls) const {
    std::vector<Look> looks;
    for (C control : controls) looks.push_back(LookOf(control));
    return looks;
  }
  // Whether the repeat box and the music file button take input.
  std::pair<bool, bool> MusicInputs() const {
    return {At(C::BGM_Repeat).enabled, At(C::lbl_Button_4).enabled};
  }

  void Press(C control) {
    const Rect r = ClientRect(control);
    dialog->MouseDown(r.x + r.w / 2.0, r.y + r.h / 2.0);
  }
  void Click(C control) {
    Press(control);
    dialog->MouseUp();
  }
  void ChooseFolder(const std::string& folder) {
    view.folderChoices.push_back(folder);
    Click(C::lbl_Button_0);
  }

  std::string StoredText() { return ShiftJisToUtf8(host.files.Contents(ini).value_or("")); }
};

TEST_F(SettingsDialogTest, BuildsFromTheDefaultsCentredAndGrowingOutOfThePointer) {
  Open();
  EXPECT_EQ(
      LooksOf({C::Img_SR_0, C::Img_SR_1, C::Img_Size_0, C::Img_Size_1, C::Img_BGM_0, C::Img_BGM_1,
               C::Img_BGM_2, C::Img_Kind_0, C::Img_Kind_1, C::Img_Kind_2, C::Img_Kind_3,
               C::Img_Button_3}),
      (std::vector{Look::OptionChosen, Look::OptionEmpty, Look::OptionEmpty, Look::OptionChosen,
                   Look::OptionChosen, Look::OptionEmpty, Look::OptionEmpty, Look::CheckOn,
                   Look::CheckOn, Look::CheckOn, Look::CheckOn, Look::ButtonResting}));
  EXPECT_EQ(MusicInputs(), std::pair(false, false));
  EXPECT_EQ(At(C::BGM_Repeat).text, "");
  ASSERT_EQ(dialog->State().repeatEntries.size(), 31u);  // "" first, then 1 to 30
  EXPECT_EQ(dialog->State().repeatEntries.back(), "30");
  EXPECT_EQ(At(C::lbl_Sec).text, "10");
  EXPECT_TRUE(dialog->State().listEntries.empty());
  EXPECT_EQ(At(C::lbl_Kei).text, "");
  EXPECT_EQ(At(C::lbl_PreSize).text, "");
  // Every heading has its bar, "画像の種類" included, and every button its face.
  for (C heading :
       {C::Img_H_1, C::Img_H_2, C::Img_H_3, C::Img_H_4, C::Img_H_5, C::Img_H_6, C::Img_H_7})
    EXPECT_EQ(LookOf(heading), Look::Heading);

  // 1280 - 565 = 715 halves to 358 (ties to even); the zoom runs from the pointer to the window.
  EXPECT_EQ(host.log.calls,
            (std::vector<std::string>{"Place 358,254 565x516",
                                      "Zoom 100,200 0x0 -> 358,254 565x516", "Arrow"}));

  // Closing shrinks into the point it grew from; with no pointer known, it grows from (0, 0).
  view.pointer = ScreenPoint{5, 5};
  host.log.calls.clear();
  Click(C::lbl_Button_3);
  EXPECT_EQ(host.log.calls,
            (std::vector<std::string>{"Zoom 358,254 565x516 -> 100,200 0x0", "Close"}));
  view.pointer.reset();
  host.log.calls.clear();
  Open();
  EXPECT_EQ(host.log.calls[1], "Zoom 0,0 0x0 -> 358,254 565x516");

  // A primary monitor away from the desktop's origin: centred on the primary itself.
  view.monitor = Rect{1920, 56, 1920, 1080};
  Open();
  EXPECT_EQ(view.placed, (Rect{2598, 338, 565, 516}));
}

TEST_F(SettingsDialogTest, ShowsStoredChoicesAndLeavesBlankWhatHasNoValidValue) {
  host.files.AddFile("C:\\Music\\a.mp3");
  Open("画像ﾁｪﾝｼﾞ=1\r\nBGM区分=1\r\nBGMﾘﾋﾟｰﾄ=3\r\nｲﾝﾀｰﾊﾞﾙ=30\r\nBGMﾌｧｲﾙ=C:\\Music\\a.mp3\r\n");
  EXPECT_EQ(LooksOf({C::Img_SR_1, C::Img_SR_0, C::Img_BGM_1}),
            (std::vector{Look::OptionChosen, Look::OptionEmpty, Look::OptionChosen}));
  EXPECT_EQ(MusicInputs(), std::pair(true, false));
  EXPECT_EQ(At(C::BGM_Repeat).text, "3");
  EXPECT_EQ(At(C::lbl_Sec).text, "30");
  EXPECT_EQ(At(C::lbl_Fname).text, "C:\\Music\\a.mp3");

  Open("BGM区分=2\r\nBGMﾌｧｲﾙ=C:\\Music\\a.mp3\r\n");
  EXPECT_EQ(MusicInputs(), std::pair(false, true));

  Open("画像ﾁｪﾝｼﾞ=3\r\n画像のｻｲｽﾞ=-1\r\nBGM区分=3\r\n画像種類_1=2\r\nｲﾝﾀｰﾊﾞﾙ=61\r\n");
  for (C mark : {C::Img_SR_0, C::Img_SR_1, C::Img_Size_0, C::Img_Size_1, C::Img_Kind_1})
    EXPECT_EQ(LookOf(mark), Look::None) << EntryOf(mark).name;
  for (C mark : {C::Img_BGM_0, C::Img_BGM_1, C::Img_BGM_2})
    EXPECT_EQ(LookOf(mark), Look::OptionEmpty);
  EXPECT_EQ(MusicInputs(), std::pair(false, false));
  EXPECT_EQ(At(C::lbl_Sec).text, "10");
}

TEST_F(SettingsDialogTest, OptionsActOnThePressOfTheirMarkOrCaption) {
  Open();
  state.settings.BgmRepeatTrack = 4;
  state.settings.BgmFile = "kept.mp3";
  Press(C::lbl_Rdm_Seq_1);
  EXPECT_EQ(state.settings.PictureOrder, 1);
  EXPECT_EQ(LooksOf({C::Img_SR_1, C::Img_SR_0}),
            (std::vector{Look::OptionChosen, Look::OptionEmpty}));
  Press(C::Img_Size_0);
  EXPECT_EQ(state.settings.PictureSize, 0);
  EXPECT_EQ(LookOf(C::Img_Size_1), Look::OptionEmpty);

  Press(C::lbl_BGM_1);
  EXPECT_EQ(MusicInputs(), std::pair(true, false));
  EXPECT_EQ(LookOf(C::Img_BGM_0), Look::OptionEmpty);
  Press(C::Img_BGM_2);
  EXPECT_EQ(MusicInputs(), std::pair(false, true));
  Press(C::lbl_BGM_0);
  EXPECT_EQ(MusicInputs(), std::pair(false, false));
  EXPECT_EQ(state.settings.BgmKind, 0);
  // The music choice neither clears nor checks the file or the track.
  EXPECT_EQ(state.settings.BgmFile, "kept.mp3");
  EXPECT_EQ(state.settings.BgmRepeatTrack, 4);

  // A disabled caption takes no press, and the rim of a button face is no button.
  Press(C::lbl_Button_4);
  EXPECT_EQ(LookOf(C::Img_Button_4), Look::ButtonResting);
  const Rect face = ClientRect(C::Img_Button_0);
  EXPECT_FALSE(dialog->HandAt(face.x + 1, face.y + 1));
  EXPECT_TRUE(dialog->HandAt(face.x + 10, face.y + 10));

  Press(C::lbl_URL);  // the link opens the address it shows
  EXPECT_EQ(host.log.calls.back(), "OpenLink " + std::string(EntryOf(C::lbl_URL).caption));

  // The interval follows the scroll bar within its range.
  dialog->ScrollMoved(37);
  EXPECT_EQ(At(C::lbl_Sec).text, "37");
  dialog->ScrollMoved(99);
  EXPECT_EQ(At(C::lbl_Sec).text, "60");
  EXPECT_EQ(state.settings.ChangeInterval, 10);  // only the save takes it over
}

TEST_F(SettingsDialogTest, KindTogglesRebuildTheListOnlyForAFolderThatExists) {
  host.files.AddFile("C:\\Pics\\b.bmp");
  host.files.AddFile("C:\\Pics\\a.gif");
  Open("画像のﾌｫﾙﾀﾞ=C:\\Pics\r\n");
  EXPECT_EQ(dialog->State().listEntries, (std::vector<std::string>{"a.gif", "b.bmp"}));
  EXPECT_EQ(At(C::lbl_Kei).text, "2");

  Press(C::lbl_Kind_1);
  EXPECT_EQ(state.settings.PictureKinds[1], 0);
  EXPECT_EQ(LookOf(C::Img_Kind_1), Look::CheckOff);
  EXPECT_EQ(dialog->State().listEntries, (std::vector<std::string>{"b.bmp"}));
  EXPECT_EQ(At(C::lbl_Kei).text, "1");
  // Every kind off empties the list and leaves the count empty, not "0".
  for (C kind : {C::Img_Kind_0, C::Img_Kind_2, C::Img_Kind_3}) Press(kind);
  EXPECT_TRUE(dialog->State().listEntries.empty());
  EXPECT_EQ(At(C::lbl_Kei).text, "");

  // A folder gone since, or no folder at all: look and value change, the list and count stay.
  Press(C::Img_Kind_0);
  const std::vector<std::string> before = dialog->State().listEntries;
  host.files = MemoryFileSystem(PathStyle::Windows);
  Press(C::Img_Kind_1);
  EXPECT_EQ(LookOf(C::Img_Kind_1), Look::CheckOn);
  EXPECT_EQ(dialog->State().listEntries, before);
  Click(C::lbl_Button_1);  // clear: no folder
  Press(C::Img_Kind_1);
  EXPECT_EQ(state.settings.PictureKinds[1], 0);
  EXPECT_EQ(state.settings.PictureFolder, "");
}

TEST_F(SettingsDialogTest, PreviewFitsTheBoxFromItsTopLeftAndKeepsTheLastPictureOnAFailure) {
  host.files.AddFolder("C:\\P");
  state.settings.PictureFolder = "C:\\P";
  Open();
  const std::vector<std::tuple<int, int, PixelSize>> cases = {
      {640, 480, {100, 75}}, {480, 640, {75, 100}}, {300, 300, {100, 100}},
      {50, 20, {100, 40}},   {3, 2, {100, 67}},     {8, 1, {100, 12}}};
  // Before any picture loaded, a failure shows the empty work picture.
  dialog->ListSelected(-1);
  EXPECT_EQ(At(C::lbl_PreSize).text, "");
  for (const auto& [w, h, preview] : cases) {
    const std::string name = std::to_string(w) + "x" + std::to_string(h) + ".bmp";
    pictures.pictures["C:\\P\\" + name] = Image(w, h, Rgb(0, 200, 0));
    host.files.AddFile("C:\\P\\" + name);
  }
  host.files.AddFile("C:\\P\\broken.bmp");
  ChooseFolder("C:\\P");
  const std::vector<std::string>& entries = dialog->State().listEntries;
  ASSERT_EQ(entries.size(), cases.size() + 1);

  auto select = [&](const std::string& name) {
    const auto at = std::find(entries.begin(), entries.end(), name);
    ASSERT_NE(at, entries.end()) << name;
    dialog->ListSelected(static_cast<int>(at - entries.begin()));
  };
  select("broken.bmp");
  EXPECT_EQ(At(C::lbl_PreSize).text, "45 * 41");
  EXPECT_EQ(dialog->State().previewSize, (PixelSize{100, 91}));
  for (const auto& [w, h, preview] : cases) {
    select(std::to_string(w) + "x" + std::to_string(h) + ".bmp");
    EXPECT_EQ(At(C::lbl_PreSize).text, std::to_string(w) + " * " + std::to_string(h));
    EXPECT_EQ(dialog->State().previewSize, preview) << w << "x" << h;
  }
  select("broken.bmp");
  EXPECT_EQ(At(C::lbl_PreSize).text, "8 * 1");
  // A selection past the list's end previews nothing.
  host.log.calls.clear();
  dialog->ListSelected(static_cast<int>(entries.size()));
  EXPECT_TRUE(host.log.calls.empty());
  EXPECT_EQ(dialog->State().previewSize, (PixelSize{100, 12}));
  EXPECT_FALSE(view.busy);

  // The painted box shows the picture, its outer two rings the raised frame.
  select("640x480.bmp");
  const Image painted = PaintDialog(dialog->State(), 1);
  const Rect box = ClientRect(C::Pic_K);
  EXPECT_EQ(painted.At(box.x + 50, box.y + 37), Rgb(0, 200, 0));
  EXPECT_NE(painted.At(box.x, box.y), Rgb(0, 200, 0));
  EXPECT_NE(painted.At(box.x + 1, box.y + 1), Rgb(0, 200, 0));
  EXPECT_EQ(painted.At(box.x + 2, box.y + 2), Rgb(0, 200, 0));
  EXPECT_NE(painted.At(box.x + 50, box.y + 74), Rgb(0, 200, 0));  // bottom ring
}

TEST_F(SettingsDialogTest, APictureIsDecodedNoLargerThanTwiceThePreviewNeeds) {
  struct SizeAsking : PictureLoader {
    std::vector<PixelSize> asked;
    std::optional<Picture> Decode(const std::string&, const DrawnSize& drawn) override {
      for (PixelSize own : {PixelSize{4000, 3000}, PixelSize{4000, 100}, PixelSize{150, 200},
                            PixelSize{100, 500}}) {
        asked.push_back(drawn(own));
      }
      return std::nullopt;
    }
  } sizeAsking;
  host.files.AddFile("C:\\P\\a.jpg");
  loader = &sizeAsking;
  Open();
  ChooseFolder("C:\\P");
  dialog->ListSelected(0);
  EXPECT_EQ(sizeAsking.asked,
            (std::vector<PixelSize>{{200, 150}, {200, 5}, {150, 200}, {40, 200}}));
}

TEST_F(SettingsDialogTest, TheFolderChooserScansPassByPassWithARunningCount) {
  host.files.AddFile("C:\\New\\one.bmp");
  host.files.AddFile("C:\\New\\two.bmp", "", FileAttribute::ReadOnly);
  host.files.AddFile("C:\\New\\three.bmp", "", FileAttribute::Archive);
  host.files.AddFile("C:\\New\\photo.jpg");
  host.files.AddFile("C:\\New\\both.bmp", "", FileAttribute::ReadOnly | FileAttribute::Archive);
  Open("画像種類_1=0\r\n画像種類_2=0\r\n画像種類_3=0\r\n");
  std::vector<std::string> counts;
  view.onEvents = [&] { counts.push_back(At(C::lbl_Kei).text); };
  ChooseFolder("C:\\New");
  EXPECT_EQ(At(C::Folder_Path).text, "C:\\New");
  // Normal files first, then archive only, then read-only only.
  EXPECT_EQ(dialog->State().listEntries,
            (std::vector<std::string>{"one.bmp", "three.bmp", "two.bmp"}));
  EXPECT_EQ(At(C::lbl_Kei).text, "3");
  EXPECT_EQ(counts, (std::vector<std::string>{"", "1", "2", "3"}));  // the release, then each file
  // Neither the catalogue nor the folder setting changes until a save or a toggle.
  EXPECT_EQ(state.settings.PictureFolder, "");
  EXPECT_EQ(state.catalogue.ImageCount, 0);

  // Cancelled: everything stays.
  Click(C::lbl_Button_0);
  EXPECT_EQ(At(C::Folder_Path).text, "C:\\New");
  EXPECT_EQ(At(C::lbl_Kei).text, "3");

  // A folder without pictures shows "0"; one that cannot be listed is reported, the list stays.
  host.files.AddFolder("C:\\Empty");
  ChooseFolder("C:\\Empty");
  EXPECT_TRUE(dialog->State().listEntries.empty());
  EXPECT_EQ(At(C::lbl_Kei).text, "0");
  host.files.SetUnlistable("C:\\New");
  ChooseFolder("C:\\New");
  ASSERT_EQ(view.messages.size(), 3u);  // one for each of the three passes
  EXPECT_EQ(view.messages[0], "フォルダを読み取れません。\nC:\\New");

  // Choosing again while a scan runs: the newer scan wins, nothing mixes.
  host.files.SetUnlistable("C:\\New", false);
  host.files.AddFile("C:\\New\\zero.bmp");
  host.files.AddFile("C:\\Other\\x.bmp");
  bool choseAgain = false;
  view.onEvents = [&] {
    if (At(C::lbl_Kei).text != "1" || choseAgain) return;
    choseAgain = true;
    ChooseFolder("C:\\Other");
  };
  ChooseFolder("C:\\New");
  EXPECT_EQ(dialog->State().listEntries, (std::vector<std::string>{"x.bmp"}));
  EXPECT_EQ(dialog->FoundFiles(), (std::vector<std::string>{"C:\\Other\\x.bmp"}));

  // Closing while a scan runs ends it: no more events, no list.
  view.onEvents = [&] { dialog->CloseRequested(); };
  view.eventPasses = 0;
  ChooseFolder("C:\\New");
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(view.eventPasses, 1);  // the release's own pass
  EXPECT_EQ(dialog->State().listEntries, (std::vector<std::string>{"x.bmp"}));
}

TEST_F(SettingsDialogTest,
       ConfirmWritesTheElevenKeysInOrderOrReportsAFailureAndCancelWritesNothing) {
  WriteSettings("BGMﾌｧｲﾙ=\r\n; the user's own note\r\n");
  const std::string original = *host.files.Contents(ini);
  Open();
  Press(C::lbl_Rdm_Seq_1);
  Press(C::lbl_Kind_2);
  dialog->ScrollMoved(25);
  Click(C::lbl_Button_3);  // cancel after changes
  EXPECT_EQ(*host.files.Contents(ini), original);
  EXPECT_TRUE(view.closed);

  host.files.AddFile("C:\\Pics\\a.jpg");
  Open("画像のﾌｫﾙﾀﾞ=C:\\Pics\r\n");
  Press(C::lbl_Rdm_Seq_1);
  Press(C::lbl_Kind_1);
  Press(C::Img_Kind_3);
  dialog->ScrollMoved(25);
  Click(C::lbl_Button_1);  // clear, then save: an empty folder
  // A failed save is reported, keeping the old file and the dialog open.
  const std::string before = *host.files.Contents(ini);
  host.files.FailReplaces(1);
  Click(C::lbl_Button_2);
  EXPECT_FALSE(view.closed);
  EXPECT_EQ(*host.files.Contents(ini), before);
  EXPECT_EQ(view.messages, std::vector<std::string>{"設定を保存できませんでした。\n" + ini +
                                                    "\nNo space left on device"});
  // Nothing chosen was lost; released away from the button, the next press saves it.
  Press(C::lbl_Button_2);
  dialog->MouseUp();
  EXPECT_TRUE(view.closed);
  EXPECT_EQ(StoredText(),
            "[Section]\r\n画像のﾌｫﾙﾀﾞ=\r\n画像ﾁｪﾝｼﾞ=1\r\n画像のｻｲｽﾞ=1\r\nｲﾝﾀｰﾊﾞﾙ=25\r\n"
            "画像種類_0=1\r\n画像種類_1=0\r\n画像種類_2=1\r\n画像種類_3=0\r\nBGM区分=0\r\n"
            "BGMﾘﾋﾟｰﾄ=0\r\nBGMﾌｧｲﾙ=\r\n");
}

TEST_F(SettingsDialogTest, APressEndedWithoutItsReleaseActsOnNoLaterRelease) {
  Open();
  for (auto [caption, face] :
       {std::pair{C::lbl_Button_2, C::Img_Button_2}, std::pair{C::lbl_Button_3, C::Img_Button_3}}) {
    Press(caption);
    EXPECT_EQ(LookOf(face), Look::ButtonPressed);
    dialog->PressCancelled();
    EXPECT_EQ(LookOf(face), Look::ButtonResting);
    // The next click, on nothing that takes it: neither saves nor closes.
    dialog->MouseDown(1, 1);
    dialog->MouseUp();
  }
  EXPECT_FALSE(view.closed);
  EXPECT_FALSE(host.files.Contents(ini));
  Click(C::lbl_Button_3);
  EXPECT_TRUE(view.closed);
}

TEST_F(SettingsDialogTest, ChoosersRefuseAPathTheSettingsFileCannotGiveBack) {
  host.files.AddFolder("C:\\Pics");
  for (const auto& [path, reason] : std::vector<std::pair<std::string, std::string>>{
           {"C:\\M\\a\nb.mp3", "に改行が含まれているため選べません。"},
           {"C:\\M\\\xFF\xFE.mp3", "に文字として読めない部分があるため選べません。"},
           {"C:\\" + std::string(300, 'a') + ".mp3", "が長すぎるため選べません。"}}) {
    Open("画像のﾌｫﾙﾀﾞ=C:\\Pics\r\n");
    Press(C::lbl_BGM_2);
    view.messages.clear();
    view.fileChoices.push_back(path);
    ChooseFolder(path);
    Click(C::lbl_Button_4);
    EXPECT_EQ(view.messages, (std::vector<std::string>{"フォルダのパス" + reason + "\n" + path,
                                                       "ファイルのパス" + reason + "\n" + path}));
    EXPECT_EQ(At(C::Folder_Path).text, "C:\\Pics");
    EXPECT_EQ(At(C::lbl_Fname).text, "");
    // Nothing the dialog took stands in the way of the save.
    Click(C::lbl_Button_2);
    EXPECT_TRUE(view.closed) << reason;
  }
}

TEST_F(SettingsDialogTest, TheRepeatTextIsSavedAsATrackNumber) {
  // Not a number gives 0; one too large for a track leaves the track as it was (3, from the file).
  for (const auto& [text, stored] : std::vector<std::pair<std::string, std::string>>{
           {"7", "7"}, {"abc", "0"}, {"2.5", "2"}, {"", "0"}, {"40000", "3"}, {" 12 ", "12"}}) {
    Open("BGM区分=1\r\nBGMﾘﾋﾟｰﾄ=3\r\n");
    dialog->RepeatTextEdited(text);
    Click(C::lbl_Button_2);
    EXPECT_EQ(ReadIniString("Section", "BGMﾘﾋﾟｰﾄ", ini, host.files), stored) << text;
  }
}

TEST_F(SettingsDialogTest, MusicFileChooserAndAFileShiftJisCannotHold) {
  host.files.AddFile("C:\\M\\old.mp3");
  Open("BGM区分=2\r\nBGMﾌｧｲﾙ=C:\\M\\old.mp3\r\n");
  Click(C::lbl_Button_4);  // cancelled
  EXPECT_EQ(view.fileRequests.size(), 1u);
  EXPECT_EQ(state.settings.BgmFile, "C:\\M\\old.mp3");

  view.fileChoices.push_back("C:\\M\\caf\xC3\xA9 \xE2\x82\xAC.mp3");  // "€" has no Shift-JIS
  Click(C::lbl_Button_4);
  EXPECT_EQ(At(C::lbl_Fname).text, "C:\\M\\caf\xC3\xA9 \xE2\x82\xAC.mp3");
  Click(C::lbl_Button_2);
  EXPECT_TRUE(view.closed);
  ASSERT_EQ(view.messages.size(), 1u);
  EXPECT_NE(view.messages[0].find("UTF-8"), std::string::npos);
  EXPECT_EQ(ReadIniString("Section", "BGMﾌｧｲﾙ", ini, host.files),
            "C:\\M\\caf\xC3\xA9 \xE2\x82\xAC.mp3");
}

}  // namespace
}  // namespace orvel
