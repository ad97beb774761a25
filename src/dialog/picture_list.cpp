// The dialog's picture list: filled from the catalogue or from the folder
// chooser's own scan, and the preview of the chosen entry.
#include <array>
#include <cmath>

#include "dialog/settings_dialog.h"
#include "settings/numbers.h"
#include "settings/paths.h"

namespace orvel {
namespace {

using C = DialogControl;

constexpr std::array<std::string_view, 4> kKindPatterns = {"*.bmp", "*.gif", "*.jpg", "*.wmf"};
// The scan passes: no attribute, archive only, read-only only.
constexpr std::array<int, 3> kPassAttributes = {FileAttribute::Normal, FileAttribute::Archive,
                                                FileAttribute::ReadOnly};

constexpr std::string_view kFolderTitle = "ﾌｫﾙﾀﾞをｸﾘｯｸして選択状態にしてから ＯＫ を押してください";

// The preview is drawn from the work picture at up to twice its 96-dpi size,
// so a larger picture need not be decoded whole.
constexpr int kLargestPreviewScale = 2;

// Half-way sizes round to even, as the preview has always been drawn.
int RoundHalfEven(float value) { return static_cast<int>(std::nearbyint(value)); }

}  // namespace

void SettingsDialog::FillList(std::span<const std::string> paths) {
  const PathStyle style = services_.files.Style();
  shown_.listEntries.clear();
  shown_.listEntries.reserve(paths.size());
  // A file that is gone by now shows as an empty line.
  for (const std::string& path : paths) {
    shown_.listEntries.push_back(services_.files.Attributes(path) ? NamePart(path, style) : "");
  }
  shown_.listSelection = -1;
  services_.view.Changed(C::List_1);
}

void SettingsDialog::FillListFromCatalogue() {
  const ImageCatalogue& catalogue = state_.catalogue;
  const std::size_t count = std::min<std::size_t>(std::max<int>(catalogue.ImageCount, 0),
                                                  catalogue.ImageFiles.size() - 1);
  FillList(std::span(catalogue.ImageFiles).subspan(1, count));
  // An empty catalogue leaves the count as it was.
  if (catalogue.ImageCount != 0)
    SetText(C::lbl_Kei, FormatNumber(static_cast<std::int32_t>(count)));
}

void SettingsDialog::FillListFromFound() {
  FillList(std::span(foundFiles_).first(static_cast<std::size_t>(foundCount_)));
  SetText(C::lbl_Kei, FormatNumber(static_cast<std::int32_t>(shown_.listEntries.size())));
}

void SettingsDialog::ChooseFolder() {
  std::optional<std::string> path = services_.view.ChooseFolder(std::string(kFolderTitle));
  if (!path || closed_ || !AcceptChosenPath("フォルダ", *path)) return;
  SetText(C::Folder_Path, *path);
  foundCount_ = 0;
  foundFiles_.clear();
  const unsigned scan = ++scans_;
  const std::string base = *path + Separator(services_.files.Style());
  ImageCatalogue& catalogue = state_.catalogue;
  for (int attribute : kPassAttributes) {
    catalogue.ScanAttribute = static_cast<std::int16_t>(attribute);
    for (std::size_t kind = 0; kind < kKindPatterns.size(); ++kind) {
      if (state_.settings.PictureKinds[kind] != 1) continue;
      CollectPattern(base + std::string(kKindPatterns[kind]), catalogue.ScanAttribute, scan);
      // The user may have chosen another folder, or closed the dialog,
      // while the scan let events run.
      if (scan != scans_ || closed_) return;
    }
  }
  FillListFromFound();
}

bool SettingsDialog::CollectPattern(const std::string& pattern, int attribute, unsigned scan) {
  const PathStyle style = services_.files.Style();
  const std::string folder = FolderPart(pattern, style);
  const std::string prefix = folder + Separator(style);
  std::optional<std::vector<std::string>> names = services_.files.ListFiles(pattern);
  if (!names) {
    services_.view.ShowMessage("フォルダを読み取れません。\n" + folder);
    return false;
  }
  for (const std::string& name : *names) {
    std::string path = prefix + name;
    std::optional<int> found = services_.files.Attributes(path);
    if (!found) {
      services_.view.ShowMessage("ファイルが見つかりません。\n" + path);
      return false;
    }
    if (*found != attribute) continue;
    if (foundCount_ >= kMaxImages) {
      services_.view.ShowMessage("画像が多すぎます。最初の" + FormatNumber(kMaxImages) +
                                 "枚だけを一覧にします。");
      return false;
    }
    foundFiles_.resize(static_cast<std::size_t>(foundCount_));
    foundFiles_.push_back(std::move(path));
    ++foundCount_;
    SetText(C::lbl_Kei, FormatNumber(foundCount_));
    services_.view.ProcessPendingEvents();
    if (scan != scans_ || closed_) return false;
  }
  return true;
}

void SettingsDialog::ListSelected(int index) {
  if (closed_) return;
  shown_.listSelection = index;
  if (index < 0 || static_cast<std::size_t>(index) >= shown_.listEntries.size()) return;
  PreviewSelected();
}

void SettingsDialog::PreviewSelected() {
  DialogView& view = services_.view;
  view.SetBusyPointer(true);
  const std::string path = shown_[C::Folder_Path].text + Separator(services_.files.Style()) +
                           shown_.listEntries[static_cast<std::size_t>(shown_.listSelection)];
  // A picture that cannot be read leaves the work picture as it was, so the
  // previous preview shows again.
  const DrawnSize previewSize = [](PixelSize own) {
    const int most = kPreviewBoxSize * kLargestPreviewScale;
    if (own.width <= most && own.height <= most) return own;
    const double fit = std::min(static_cast<double>(most) / std::max(own.width, 1),
                                static_cast<double>(most) / std::max(own.height, 1));
    return PixelSize{std::max(1, static_cast<int>(std::ceil(own.width * fit))),
                     std::max(1, static_cast<int>(std::ceil(own.height * fit)))};
  };
  if (std::optional<Picture> picture = services_.pictures.Decode(path, previewSize)) {
    shown_.workPicture = std::move(picture->pixels);
    shown_.workPictureSize = picture->size;
  }
  const int w = shown_.workPictureSize.width, h = shown_.workPictureSize.height;
  SetText(C::lbl_PreSize, FormatNumber(w) + " * " + FormatNumber(h));

  // Fitted into the 100 x 100 box with its proportions kept, small pictures
  // enlarged like large ones are reduced; the box keeps its top-left corner.
  const float box = kPreviewBoxSize;
  float pw = box, ph = box;
  if (w > h) {
    ph = box * static_cast<float>(h) / static_cast<float>(w);
  } else {
    pw = box * static_cast<float>(w) / static_cast<float>(h);
  }
  shown_.previewSize = PixelSize{RoundHalfEven(pw), RoundHalfEven(ph)};
  shown_.previewShowsPicture = true;
  view.Changed(C::Pic_K);
  view.SetBusyPointer(false);
}

}  // namespace orvel
