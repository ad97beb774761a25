#include "dialog/settings_dialog.h"

#include <array>
#include <cmath>

#include "settings/numbers.h"

namespace orvel {
namespace {

using C = DialogControl;

// The controls of each indexed group, by the index of the value they show.
constexpr std::array<C, 2> kOrderMarks = {C::Img_SR_0, C::Img_SR_1};
constexpr std::array<C, 2> kOrderCaptions = {C::lbl_Rdm_Seq_0, C::lbl_Rdm_Seq_1};
constexpr std::array<C, 2> kSizeMarks = {C::Img_Size_0, C::Img_Size_1};
constexpr std::array<C, 2> kSizeCaptions = {C::lbl_Size_0, C::lbl_Size_1};
constexpr std::array<C, 3> kMusicMarks = {C::Img_BGM_0, C::Img_BGM_1, C::Img_BGM_2};
constexpr std::array<C, 3> kMusicCaptions = {C::lbl_BGM_0, C::lbl_BGM_1, C::lbl_BGM_2};
constexpr std::array<C, 4> kKindMarks = {C::Img_Kind_0, C::Img_Kind_1, C::Img_Kind_2,
                                         C::Img_Kind_3};
constexpr std::array<C, 4> kKindCaptions = {C::lbl_Kind_0, C::lbl_Kind_1, C::lbl_Kind_2,
                                            C::lbl_Kind_3};
constexpr std::array<C, 5> kButtonFaces = {C::Img_Button_0, C::Img_Button_1, C::Img_Button_2,
                                           C::Img_Button_3, C::Img_Button_4};
constexpr std::array<C, 5> kButtonCaptions = {C::lbl_Button_0, C::lbl_Button_1, C::lbl_Button_2,
                                              C::lbl_Button_3, C::lbl_Button_4};
constexpr std::array<C, 7> kHeadings = {C::Img_H_1, C::Img_H_2, C::Img_H_3, C::Img_H_4,
                                        C::Img_H_5, C::Img_H_6, C::Img_H_7};

enum ButtonIndex { kFolderButton, kClearButton, kConfirmButton, kCancelButton, kMusicFileButton };

// The repeat box's entries: empty (no track), then 1 to 30.
constexpr int kRepeatEntries = 31;

// The window's frame around its client area, on the classic metrics the
// dialog's size has always been worked out with.
constexpr int kFrameExtraWidth = 8;
constexpr int kFrameExtraHeight = 27;

// The index of `control` in `group`; nullopt when it is not there.
template <std::size_t N>
std::optional<int> IndexIn(const std::array<C, N>& group, C control) {
  for (std::size_t i = 0; i < N; ++i) {
    if (group[i] == control) return static_cast<int>(i);
  }
  return std::nullopt;
}

// The index of the control in either group of a pair (picture and caption
// run the same operation).
template <std::size_t N>
std::optional<int> IndexIn(const std::array<C, N>& marks, const std::array<C, N>& captions,
                           C control) {
  if (std::optional<int> index = IndexIn(marks, control)) return index;
  return IndexIn(captions, control);
}

// Half-way positions round to even, as window positions always have.
int RoundHalfEven(double value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

SettingsDialog::SettingsDialog(AppState& state, const DialogServices& services)
    : state_(state), services_(services) {}

void SettingsDialog::Show(C control, Look look) {
  shown_[control].look = look;
  services_.view.Changed(control);
}

void SettingsDialog::SetText(C control, std::string text) {
  shown_[control].text = std::move(text);
  services_.view.Changed(control);
}

void SettingsDialog::Enable(C control, bool enabled) {
  shown_[control].enabled = enabled;
  services_.view.Changed(control);
}

void SettingsDialog::Load() {
  const SaverSettings& settings = state_.settings;
  PlaceWindow();
  for (C heading : kHeadings) Show(heading, Look::Heading);
  for (C face : kButtonFaces) Show(face, Look::ButtonResting);

  // A value that is no index of its pair leaves both marks blank.
  auto showPair = [this](const std::array<C, 2>& marks, std::int16_t value) {
    if (value != 0 && value != 1) return;
    Show(marks[static_cast<std::size_t>(value)], Look::OptionChosen);
    Show(marks[static_cast<std::size_t>(value ^ 1)], Look::OptionEmpty);
  };
  showPair(kOrderMarks, settings.PictureOrder);
  showPair(kSizeMarks, settings.PictureSize);
  for (C mark : kMusicMarks) Show(mark, Look::OptionEmpty);
  if (settings.BgmKind >= 0 && settings.BgmKind < 3) {
    Show(kMusicMarks[static_cast<std::size_t>(settings.BgmKind)], Look::OptionChosen);
  }

  Enable(C::lbl_Button_4, settings.BgmKind == 2);
  Enable(C::BGM_Repeat, settings.BgmKind == 1);
  shown_.repeatEntries.assign(1, std::string());
  for (int track = 1; track < kRepeatEntries; ++track) {
    shown_.repeatEntries.push_back(FormatNumber(track));
  }
  SetText(C::BGM_Repeat,
          settings.BgmRepeatTrack == 0 ? std::string() : FormatNumber(settings.BgmRepeatTrack));
  SetText(C::lbl_Fname, settings.BgmFile);

  // The scroll bar refuses a position outside its range and keeps its own.
  if (settings.ChangeInterval >= kIntervalMin && settings.ChangeInterval <= kIntervalMax) {
    shown_.scrollPosition = settings.ChangeInterval;
  }
  services_.view.Changed(C::HS_CD);
  SetText(C::lbl_Sec, FormatNumber(shown_.scrollPosition));

  SetText(C::lbl_Kei, "");
  FillListFromCatalogue();
  SetText(C::lbl_PreSize, "");
  SetText(C::Folder_Path, settings.PictureFolder);
  for (std::size_t i = 0; i < kKindMarks.size(); ++i) {
    const std::int16_t kind = settings.PictureKinds[i];
    if (kind == 0 || kind == 1) Show(kKindMarks[i], kind == 1 ? Look::CheckOn : Look::CheckOff);
  }
  services_.view.Changed(C::Pic_K);

  zoomOrigin_ = ZoomOriginFromPointer(services_.view);
  ZoomFromOrigin(zoomOrigin_, services_.view);
  services_.view.SetBusyPointer(false);
}

void SettingsDialog::PlaceWindow() {
  const Rect monitor = services_.view.PrimaryMonitor();
  const int width = kDialogClientSize.width + kFrameExtraWidth;
  const int height = kDialogClientSize.height + kFrameExtraHeight;
  services_.view.Place(Rect{monitor.x + RoundHalfEven((monitor.w - width) / 2.0),
                            monitor.y + RoundHalfEven((monitor.h - height) / 2.0), width, height});
}

void SettingsDialog::MouseDown(double x, double y) {
  if (closed_) return;
  const std::optional<C> target = ClickTargetAt(x, y);
  if (!target || !shown_[*target].enabled) return;
  SaverSettings& settings = state_.settings;
  if (std::optional<int> order = IndexIn(kOrderMarks, kOrderCaptions, *target)) {
    SelectOption(kOrderMarks, settings.PictureOrder, *order);
  } else if (std::optional<int> size = IndexIn(kSizeMarks, kSizeCaptions, *target)) {
    SelectOption(kSizeMarks, settings.PictureSize, *size);
  } else if (std::optional<int> music = IndexIn(kMusicMarks, kMusicCaptions, *target)) {
    SelectMusic(*music);
  } else if (std::optional<int> kind = IndexIn(kKindMarks, kKindCaptions, *target)) {
    ToggleKind(*kind);
  } else if (std::optional<int> button = IndexIn(kButtonCaptions, *target)) {
    PressButton(*button);
  } else if (*target == C::lbl_URL) {
    services_.view.OpenLink(shown_[C::lbl_URL].text);
  }
}

void SettingsDialog::MouseUp() {
  if (closed_ || !pressedButton_) return;
  const int index = *pressedButton_;
  pressedButton_.reset();
  ReleaseButton(index);
}

void SettingsDialog::PressCancelled() {
  if (closed_ || !pressedButton_) return;
  Show(kButtonFaces[static_cast<std::size_t>(*pressedButton_)], Look::ButtonResting);
  pressedButton_.reset();
}

bool SettingsDialog::HandAt(double x, double y) const {
  const std::optional<C> target = ClickTargetAt(x, y);
  return target && shown_[*target].enabled;
}

void SettingsDialog::SelectOption(std::span<const C> marks, std::int16_t& field, int index) {
  Show(marks[static_cast<std::size_t>(index)], Look::OptionChosen);
  Show(marks[static_cast<std::size_t>(index ^ 1)], Look::OptionEmpty);
  field = static_cast<std::int16_t>(index);
}

void SettingsDialog::SelectMusic(int index) {
  Enable(C::lbl_Button_4, false);
  Enable(C::BGM_Repeat, false);
  for (C mark : kMusicMarks) Show(mark, Look::OptionEmpty);
  Show(kMusicMarks[static_cast<std::size_t>(index)], Look::OptionChosen);
  if (index == 1) Enable(C::BGM_Repeat, true);
  if (index == 2) Enable(C::lbl_Button_4, true);
  state_.settings.BgmKind = static_cast<std::int16_t>(index);
}

void SettingsDialog::ToggleKind(int index) {
  SaverSettings& settings = state_.settings;
  std::int16_t& kind = settings.PictureKinds[static_cast<std::size_t>(index)];
  kind = static_cast<std::int16_t>(kind ^ 1);
  // A value that was neither 0 nor 1 has no look to show; the mark keeps its
  // own.
  if (kind == 0 || kind == 1) {
    Show(kKindMarks[static_cast<std::size_t>(index)], kind == 1 ? Look::CheckOn : Look::CheckOff);
  }
  services_.view.ProcessPendingEvents();
  if (closed_) return;

  settings.PictureFolder = shown_[C::Folder_Path].text;
  if (settings.PictureFolder.empty()) return;
  if (!FolderExists(settings.PictureFolder, services_.files)) return;
  SetText(C::lbl_Kei, "");
  BuildCatalogue(state_.catalogue, settings.PictureFolder, settings.PictureKinds, services_.files);
  FillListFromCatalogue();
}

void SettingsDialog::PressButton(int index) {
  Show(kButtonFaces[static_cast<std::size_t>(index)], Look::ButtonPressed);
  pressedButton_ = index;
}

void SettingsDialog::ReleaseButton(int index) {
  Show(kButtonFaces[static_cast<std::size_t>(index)], Look::ButtonResting);
  services_.view.ProcessPendingEvents();
  if (closed_) return;
  switch (index) {
    case kFolderButton:
      ChooseFolder();
      break;
    case kClearButton:
      ClearList();
      break;
    case kConfirmButton:
      // A failed save has told the user why; the dialog stays open so that
      // nothing chosen is lost.
      if (SaveSettings()) Unload();
      break;
    case kCancelButton:
      Unload();
      break;
    case kMusicFileButton:
      ChooseMusicFile();
      break;
  }
}

void SettingsDialog::ScrollMoved(int position) {
  if (closed_) return;
  shown_.scrollPosition = std::clamp(position, kIntervalMin, kIntervalMax);
  SetText(C::lbl_Sec, FormatNumber(shown_.scrollPosition));
}

void SettingsDialog::RepeatTextEdited(const std::string& text) {
  // The window shows the text already.
  shown_[C::BGM_Repeat].text = text;
}

void SettingsDialog::CloseRequested() {
  if (!closed_) Unload();
}

void SettingsDialog::ClearList() {
  shown_.listEntries.clear();
  shown_.listSelection = -1;
  services_.view.Changed(C::List_1);
  SetText(C::Folder_Path, "");
  SetText(C::lbl_Kei, "");
}

void SettingsDialog::Unload() {
  closed_ = true;
  ZoomToOrigin(zoomOrigin_, services_.view);
  services_.view.Close();
}

}  // namespace orvel
