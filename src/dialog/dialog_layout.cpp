#include "dialog/dialog_layout.h"

#include <cmath>

namespace orvel {
namespace {

using C = DialogControl;
using R = ControlRole;
constexpr DialogFont G = DialogFont::Gothic;
constexpr DialogFont D = DialogFont::DialogDefault;
constexpr TextAlign L = TextAlign::Left;
constexpr TextAlign M = TextAlign::Centre;
constexpr TextAlign Rt = TextAlign::Right;

// clang-format off
constexpr std::array<ControlEntry, kDialogControlCount> kControls = {{
    {C::Pic_C, "Pic_C", C::Pic_C, {0, 0, 557, 489}, R::Panel, ""},
    {C::Pic_1_0, "Pic_1(0)", C::Pic_C, {344, 12, 197, 157}, R::Panel, ""},
    {C::Pic_1_1, "Pic_1(1)", C::Pic_C, {12, 12, 313, 341}, R::Panel, ""},
    {C::Pic_1_2, "Pic_1(2)", C::Pic_C, {344, 180, 197, 77}, R::Panel, ""},
    {C::Pic_1_3, "Pic_1(3)", C::Pic_C, {12, 364, 529, 109}, R::Panel, ""},

    {C::Img_H_1, "Img_H(1)", C::Pic_1_0, {12, 8, 109, 22}, R::Heading, ""},
    {C::lbl_13, "lbl(13)", C::Pic_1_0, {12, 12, 109, 17}, R::Caption, "画像ﾁｪﾝｼﾞ", G, M},
    {C::Img_SR_0, "Img_SR(0)", C::Pic_1_0, {24, 36, 13, 13}, R::OptionMark, "", G, L, true},
    {C::lbl_Rdm_Seq_0, "lbl_Rdm_Seq(0)", C::Pic_1_0, {40, 36, 55, 13}, R::Caption, "ｼｰｹﾝｼｬﾙ", G, L, true},
    {C::Img_SR_1, "Img_SR(1)", C::Pic_1_0, {24, 56, 13, 13}, R::OptionMark, "", G, L, true},
    {C::lbl_Rdm_Seq_1, "lbl_Rdm_Seq(1)", C::Pic_1_0, {40, 56, 32, 13}, R::Caption, "ﾗﾝﾀﾞﾑ", G, L, true},
    {C::Img_H_2, "Img_H(2)", C::Pic_1_0, {12, 80, 109, 22}, R::Heading, ""},
    {C::lbl_10, "lbl(10)", C::Pic_1_0, {12, 84, 105, 17}, R::Caption, "画像のｻｲｽﾞ", G, M},
    {C::Img_Size_0, "Img_Size(0)", C::Pic_1_0, {24, 108, 13, 13}, R::OptionMark, "", G, L, true},
    {C::lbl_Size_0, "lbl_Size(0)", C::Pic_1_0, {40, 108, 42, 13}, R::Caption, "ｵﾘｼﾞﾅﾙ", G, L, true},
    {C::Img_Size_1, "Img_Size(1)", C::Pic_1_0, {24, 128, 13, 13}, R::OptionMark, "", G, L, true},
    {C::lbl_Size_1, "lbl_Size(1)", C::Pic_1_0, {40, 128, 52, 13}, R::Caption, "ﾌﾙｽｸﾘｰﾝ", G, L, true},

    {C::Img_H_3, "Img_H(3)", C::Pic_1_1, {12, 8, 109, 22}, R::Heading, ""},
    {C::lbl_12, "lbl(12)", C::Pic_1_1, {16, 12, 101, 13}, R::Caption, "画像のﾌｧｲﾙ名", G, M},
    {C::Img_Button_0, "Img_Button(0)", C::Pic_1_1, {12, 40, 109, 22}, R::ButtonFace, ""},
    {C::lbl_Button_0, "lbl_Button(0)", C::Pic_1_1, {16, 44, 101, 17}, R::Caption, "ﾌｫﾙﾀﾞで指定...", G, M, true},
    {C::lbl_Kei, "lbl_Kei", C::Pic_1_1, {128, 44, 33, 17}, R::DisplayBox, "", G, Rt},
    {C::lbl_8, "lbl(8)", C::Pic_1_1, {164, 48, 17, 13}, R::Caption, "枚"},
    {C::List_1, "List_1", C::Pic_1_1, {12, 68, 169, 225}, R::List, "", G, L, true},
    {C::Img_H_4, "Img_H(4)", C::Pic_1_1, {192, 8, 101, 22}, R::Heading, ""},
    {C::lbl_6, "lbl(6)", C::Pic_1_1, {196, 12, 92, 13}, R::Caption, "画像のﾌﾟﾚﾋﾞｭｰ", G, M},
    {C::lbl_PreSize, "lbl_PreSize", C::Pic_1_1, {192, 36, 101, 13}, R::Caption, "9999 * 9999", G, M},
    {C::Pic_K, "Pic_K", C::Pic_1_1, {192, 52, 100, 100}, R::PreviewBox, ""},
    {C::Img_H_7, "Img_H(7)", C::Pic_1_1, {192, 164, 101, 22}, R::Heading, ""},
    {C::lbl_11, "lbl(11)", C::Pic_1_1, {196, 168, 93, 13}, R::Caption, "画像の種類", G, M},
    {C::Img_Kind_0, "Img_Kind(0)", C::Pic_1_1, {208, 192, 12, 12}, R::CheckMark, "", G, L, true},
    {C::lbl_Kind_0, "lbl_Kind(0)", C::Pic_1_1, {224, 192, 32, 13}, R::Caption, "*.bmp", G, L, true},
    {C::Img_Kind_1, "Img_Kind(1)", C::Pic_1_1, {208, 212, 12, 12}, R::CheckMark, "", G, L, true},
    {C::lbl_Kind_1, "lbl_Kind(1)", C::Pic_1_1, {224, 212, 23, 13}, R::Caption, "*.gif", G, L, true},
    {C::Img_Kind_2, "Img_Kind(2)", C::Pic_1_1, {208, 232, 12, 12}, R::CheckMark, "", G, L, true},
    {C::lbl_Kind_2, "lbl_Kind(2)", C::Pic_1_1, {224, 232, 25, 13}, R::Caption, "*.jpg", G, L, true},
    {C::Img_Kind_3, "Img_Kind(3)", C::Pic_1_1, {208, 252, 12, 12}, R::CheckMark, "", G, L, true},
    {C::lbl_Kind_3, "lbl_Kind(3)", C::Pic_1_1, {224, 252, 32, 13}, R::Caption, "*.wmf", G, L, true},
    {C::Img_Button_1, "Img_Button(1)", C::Pic_1_1, {196, 272, 95, 22}, R::ButtonFace, ""},
    {C::lbl_Button_1, "lbl_Button(1)", C::Pic_1_1, {200, 276, 85, 17}, R::Caption, "ｸﾘｱ", G, M, true},
    {C::Folder_Path, "Folder_Path", C::Pic_1_1, {12, 308, 281, 17}, R::DisplayBox, ""},

    {C::Img_H_5, "Img_H(5)", C::Pic_1_2, {12, 8, 109, 22}, R::Heading, ""},
    {C::lbl_14, "lbl(14)", C::Pic_1_2, {12, 12, 109, 17}, R::Caption, "ﾁｪﾝｼﾞのｲﾝﾀｰﾊﾞﾙ", G, M},
    {C::HS_CD, "HS_CD", C::Pic_1_2, {24, 40, 89, 17}, R::ScrollBar, "", G, L, true},
    {C::lbl_Sec, "lbl_Sec", C::Pic_1_2, {120, 40, 29, 17}, R::DisplayBox, "", G, Rt},
    {C::lbl_15, "lbl(15)", C::Pic_1_2, {152, 44, 13, 13}, R::Caption, "秒"},

    {C::Img_H_6, "Img_H(6)", C::Pic_1_3, {12, 8, 95, 22}, R::Heading, "", G, L, false, true},
    {C::lbl_1, "lbl(1)", C::Pic_1_3, {12, 12, 93, 17}, R::Caption, "BGM", D, M},
    {C::Img_BGM_1, "Img_BGM(1)", C::Pic_1_3, {124, 12, 13, 13}, R::OptionMark, "", G, L, true},
    {C::lbl_BGM_1, "lbl_BGM(1)", C::Pic_1_3, {140, 12, 43, 13}, R::Caption, "音楽CD", D, L, true},
    {C::Img_BGM_0, "Img_BGM(0)", C::Pic_1_3, {124, 32, 13, 13}, R::OptionMark, "", G, L, true},
    {C::lbl_BGM_0, "lbl_BGM(0)", C::Pic_1_3, {140, 32, 23, 13}, R::Caption, "無し", D, L, true},
    {C::Img_BGM_2, "Img_BGM(2)", C::Pic_1_3, {124, 52, 13, 13}, R::OptionMark, "", G, L, true},
    {C::lbl_BGM_2, "lbl_BGM(2)", C::Pic_1_3, {140, 52, 60, 13}, R::Caption, "MP3、WAV", D, L, true},
    {C::BGM_Repeat, "BGM_Repeat", C::Pic_1_3, {188, 8, 41, 20}, R::RepeatBox, "", D, L, true},
    {C::lbl_2, "lbl(2)", C::Pic_1_3, {236, 12, 66, 13}, R::Caption, "曲目をﾘﾋﾟｰﾄ", D},
    {C::Img_Button_4, "Img_Button(4)", C::Pic_1_3, {208, 48, 95, 22}, R::ButtonFace, ""},
    {C::lbl_Button_4, "lbl_Button(4)", C::Pic_1_3, {208, 52, 93, 17}, R::Caption, "ﾌｧｲﾙ名", D, M, true},
    {C::lbl_Fname, "lbl_Fname", C::Pic_1_3, {208, 76, 309, 17}, R::DisplayBox, "", D},

    {C::lbl_9, "lbl(9)", C::Pic_C, {344, 272, 206, 13}, R::Caption, "Designed by Orvel Team Ver.1.1.0"},
    {C::lbl_URL, "lbl_URL", C::Pic_C, {336, 292, 207, 13}, R::Link, "https://orvel.example.org/", DialogFont::GothicUnderlined, L, true},
    {C::Img_Button_2, "Img_Button(2)", C::Pic_C, {340, 328, 95, 22}, R::ButtonFace, ""},
    {C::lbl_Button_2, "lbl_Button(2)", C::Pic_C, {340, 332, 93, 17}, R::Caption, "設定", G, M, true},
    {C::Img_Button_3, "Img_Button(3)", C::Pic_C, {444, 328, 95, 22}, R::ButtonFace, ""},
    {C::lbl_Button_3, "lbl_Button(3)", C::Pic_C, {444, 332, 93, 17}, R::Caption, "ｷｬﾝｾﾙ", G, M, true},
}};
// clang-format on

// The table is indexed by its own ids; a row out of place would give one
// control another's rectangle.
constexpr bool InOrder() {
  for (int i = 0; i < kDialogControlCount; ++i) {
    if (static_cast<int>(kControls[static_cast<std::size_t>(i)].id) != i) return false;
  }
  return true;
}
static_assert(InOrder(), "the control table must list the controls in the order of DialogControl");

bool IsPainted(ControlRole role) {
  return role != R::List && role != R::ScrollBar && role != R::RepeatBox;
}

}  // namespace

std::span<const ControlEntry, kDialogControlCount> DialogControls() { return kControls; }

const ControlEntry& EntryOf(DialogControl control) {
  return kControls[static_cast<std::size_t>(control)];
}

Rect ClientRect(DialogControl control) {
  const ControlEntry& entry = EntryOf(control);
  Rect rect = entry.rect;
  if (entry.parent != control) {
    const Rect parent = ClientRect(entry.parent);
    rect.x += parent.x;
    rect.y += parent.y;
  }
  return rect;
}

Rect ScaleRect(const Rect& rect, double scale) {
  auto at = [scale](int v) { return static_cast<int>(std::lround(v * scale)); };
  const int left = at(rect.x), top = at(rect.y);
  return Rect{left, top, at(rect.Right()) - left, at(rect.Bottom()) - top};
}

std::optional<DialogControl> ClickTargetAt(double x, double y) {
  // Later rows lie above earlier ones (a caption above its button face),
  // so the last hit wins.
  std::optional<DialogControl> target;
  for (const ControlEntry& entry : kControls) {
    if (!entry.hand || !IsPainted(entry.role)) continue;
    const Rect r = ClientRect(entry.id);
    if (x >= r.x && x < r.Right() && y >= r.y && y < r.Bottom()) target = entry.id;
  }
  return target;
}

}  // namespace orvel
