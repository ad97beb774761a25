#include "platform/win32/win32_dialog_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "dialog/gothic_face.h"
#include "platform/win32/wide_text.h"

namespace orvel {
namespace {

// What a caption left on a light grey client area: the box around the
// pixels it changed, and which colours it used.
struct Ink {
  Rect box;
  bool black = false, grey = false, white = false, blue = false;
  int widestBlueRow = 0;
};

constexpr std::uint32_t kBackground = Rgb(204, 204, 204);

Ink Draw(DialogControl control, const std::string& text, bool enabled = true, int dpi = 96) {
  const double scale = dpi / 96.0;
  const int w = static_cast<int>(kDialogClientSize.width * scale);
  const int h = static_cast<int>(kDialogClientSize.height * scale);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(dc, bitmap);
  auto* pixels = static_cast<std::uint32_t*>(bits);
  std::fill(pixels, pixels + w * h, kBackground);

  const DialogFonts fonts(dpi);
  const ControlEntry& entry = EntryOf(control);
  DrawControlText(dc, entry, ControlState{Look::None, text, enabled},
                  ScaleRect(ClientRect(control), scale), fonts.For(entry), scale);
  GdiFlush();

  Ink ink;
  int left = w, top = h, right = -1, bottom = -1;
  for (int y = 0; y < h; ++y) {
    int blueRun = 0;
    for (int x = 0; x < w; ++x) {
      const std::uint32_t pixel = pixels[y * w + x] & 0xFFFFFF;
      if (pixel == kBackground) {
        blueRun = 0;
        continue;
      }
      const int r = RedOf(pixel), g = GreenOf(pixel), b = BlueOf(pixel);
      left = std::min(left, x), right = std::max(right, x);
      top = std::min(top, y), bottom = std::max(bottom, y);
      ink.black |= r < 60 && g < 60 && b < 60;
      ink.grey |= r == g && g == b && r >= 110 && r <= 150;
      ink.white |= r > 240 && g > 240 && b > 240;
      const bool blue = b - std::max(r, g) > 40;
      ink.blue |= blue;
      blueRun = blue ? blueRun + 1 : 0;
      ink.widestBlueRow = std::max(ink.widestBlueRow, blueRun);
    }
  }
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  if (right >= 0) ink.box = Rect{left, top, right - left + 1, bottom - top + 1};
  return ink;
}

bool Inside(const Rect& inner, const Rect& outer) {
  return inner.x >= outer.x && inner.y >= outer.y && inner.Right() <= outer.Right() &&
         inner.Bottom() <= outer.Bottom();
}

TEST(Win32DialogText, TheFaceWritesCaptionsDisplayBoxesAndTheLinkOnly) {
  int written = 0;
  for (const ControlEntry& entry : DialogControls()) {
    const bool text = entry.role == ControlRole::Caption || entry.role == ControlRole::DisplayBox ||
                      entry.role == ControlRole::Link;
    EXPECT_EQ(DrawsText(entry.role), text) << entry.name;
    written += text;
  }
  EXPECT_GT(written, 0);
}

TEST(Win32DialogText, FontsAreTheDialogsGothicAtNineAndThreeQuarterPointsAndTheLinkUnderlined) {
  for (int dpi : {96, 192}) {
    const DialogFonts fonts(dpi);
    LOGFONTW gothic{}, underlined{}, link{}, fallback{};
    ASSERT_NE(GetObjectW(fonts.Get(DialogFont::Gothic), sizeof(gothic), &gothic), 0);
    EXPECT_EQ(gothic.lfHeight, -13 * dpi / 96);
    EXPECT_EQ(gothic.lfCharSet, SHIFTJIS_CHARSET);
    EXPECT_FALSE(gothic.lfUnderline);
    EXPECT_EQ(gothic.lfWeight, FW_NORMAL);
    GetObjectW(fonts.Get(DialogFont::GothicUnderlined), sizeof(underlined), &underlined);
    EXPECT_TRUE(underlined.lfUnderline);
    GetObjectW(fonts.For(EntryOf(DialogControl::lbl_URL)), sizeof(link), &link);
    EXPECT_TRUE(link.lfUnderline);
    // The music panel's font: 9 points, plain.
    GetObjectW(fonts.Get(DialogFont::DialogDefault), sizeof(fallback), &fallback);
    EXPECT_EQ(fallback.lfHeight, -12 * dpi / 96);
    EXPECT_EQ(fallback.lfWeight, FW_NORMAL);
    EXPECT_FALSE(fallback.lfItalic);
    EXPECT_FALSE(fallback.lfUnderline);
  }
}

// Where "ＭＳ Ｐゴシック" is missing the font mapper took a Japanese face
// without Latin letters, and "*.bmp", "BGM" and the numbers showed as boxes.
TEST(Win32DialogText, TheGothicIsAnInstalledFaceOfTheListWithLatinLettersDigitsAndKana) {
  const DialogFonts fonts(96);
  HDC dc = CreateCompatibleDC(nullptr);
  for (DialogFont font : {DialogFont::Gothic, DialogFont::GothicUnderlined}) {
    LOGFONTW asked{};
    GetObjectW(fonts.Get(font), sizeof(asked), &asked);
    HGDIOBJ old = SelectObject(dc, fonts.Get(font));
    wchar_t face[LF_FACESIZE] = {};
    GetTextFaceW(dc, LF_FACESIZE, face);
    EXPECT_STREQ(face, asked.lfFaceName);
    EXPECT_NE(std::ranges::find(kGothicFaces, Utf8FromWide(face)), kGothicFaces.end()) << face;
    const std::wstring text = L"*.bmp BGM 10 Ver ｼｰｹﾝｼｬﾙ 画像";
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    for (std::size_t i = 0; i < text.size(); ++i) EXPECT_NE(glyphs[i], 0xFFFF) << face << " " << i;
    SelectObject(dc, old);
  }
  DeleteDC(dc);
}

TEST(Win32DialogText, TheMusicPanelsFontHasItsJapaneseLetters) {
  const DialogFonts fonts(96);
  HDC dc = CreateCompatibleDC(nullptr);
  HGDIOBJ old = SelectObject(dc, fonts.Get(DialogFont::DialogDefault));
  const std::wstring text = L"音楽CD";
  WORD glyphs[4] = {};
  GetGlyphIndicesW(dc, text.c_str(), 4, glyphs, GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, old);
  DeleteDC(dc);
  for (WORD glyph : glyphs) EXPECT_NE(glyph, 0xFFFF);
}

TEST(Win32DialogText, TextStandsInItsRectangleAsAligned) {
  // A number in a display box: right-aligned inside the border.
  const Rect kei = ClientRect(DialogControl::lbl_Kei);
  const Ink count = Draw(DialogControl::lbl_Kei, "12");
  EXPECT_TRUE(count.black);
  EXPECT_TRUE(Inside(count.box, Rect{kei.x + 2, kei.y + 2, kei.w - 4, kei.h - 4}));
  EXPECT_GE(count.box.Right(), kei.Right() - 4);
  EXPECT_GE(count.box.x, kei.x + 14);

  // A heading's caption: centred, on the 13-pixel line from its top.
  const Rect heading = ClientRect(DialogControl::lbl_13);
  const Ink centred = Draw(DialogControl::lbl_13, "画像ﾁｪﾝｼﾞ");
  EXPECT_TRUE(Inside(centred.box, Rect{heading.x, heading.y, heading.w, 13}));
  EXPECT_NEAR(centred.box.x + centred.box.w / 2.0, heading.x + heading.w / 2.0, 2);

  // A left-aligned caption starts at its left edge.
  const Rect order = ClientRect(DialogControl::lbl_Rdm_Seq_1);
  const Ink left = Draw(DialogControl::lbl_Rdm_Seq_1, "ﾗﾝﾀﾞﾑ");
  EXPECT_TRUE(Inside(left.box, order));
  EXPECT_LE(left.box.x, order.x + 1);

  // Text far wider than its rectangle stays inside it and fills it.
  const Rect path = ClientRect(DialogControl::Folder_Path);
  const Ink narrowed =
      Draw(DialogControl::Folder_Path, "C:\\Users\\someone\\Pictures\\2024\\旅行\\一日目");
  EXPECT_TRUE(Inside(narrowed.box, path));
  EXPECT_GE(narrowed.box.Right(), path.Right() - 12);

  // At twice the resolution the same caption stands in the doubled rectangle.
  const Ink doubled = Draw(DialogControl::lbl_13, "画像ﾁｪﾝｼﾞ", true, 192);
  EXPECT_TRUE(Inside(doubled.box, Rect{heading.x * 2, heading.y * 2, heading.w * 2, 26}));
  EXPECT_GT(doubled.box.w, centred.box.w * 3 / 2);

  EXPECT_EQ(Draw(DialogControl::lbl_Kei, "").box, Rect{});
}

TEST(Win32DialogText, DisabledTextIsGreyedAndTheLinkBlueAndUnderlined) {
  const Ink greyed = Draw(DialogControl::lbl_Button_4, "ﾌｧｲﾙ名", false);
  EXPECT_TRUE(greyed.grey);
  EXPECT_TRUE(greyed.white);
  EXPECT_FALSE(greyed.black);
  const Ink enabled = Draw(DialogControl::lbl_Button_4, "ﾌｧｲﾙ名");
  EXPECT_TRUE(enabled.black);
  EXPECT_FALSE(enabled.white);

  const Ink link = Draw(DialogControl::lbl_URL, "https://orvel.example.org/");
  EXPECT_TRUE(link.blue);
  EXPECT_FALSE(link.black);
  // The underline runs under the whole address.
  EXPECT_GE(link.widestBlueRow, link.box.w - 2);
}

TEST(Win32DialogText, TextThatIsNotUtf8ShowsWithReplacementLetters) {
  EXPECT_EQ(DisplayText("画像"), L"画像");
  EXPECT_EQ(DisplayText("a\xFF"
                        "b"),
            L"a\xFFFD"
            L"b");
  EXPECT_EQ(DisplayText(""), L"");
}

}  // namespace
}  // namespace orvel
