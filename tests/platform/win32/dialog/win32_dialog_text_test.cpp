#include "platform/win32/dialog/win32_dialog_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <string>
#include <vector>

#include "dialog/gothic_face.h"
#include "dialog_text_check.h"
#include "platform/win32/system/wide_text.h"

namespace orvel {
namespace {

Ink Draw(DialogControl control, const std::string& text, bool enabled, int dpi = 96) {
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
  std::fill(pixels, pixels + w * h, Rgb(204, 204, 204));

  const DialogFonts fonts(dpi);
  const ControlEntry& entry = EntryOf(control);
  DrawControlText(dc, entry, ControlState{Look::None, text, enabled},
                  ScaleRect(ClientRect(control), scale), fonts.For(entry), scale);
  GdiFlush();
  const Ink ink = InkOf([&](int x, int y) { return pixels[y * w + x]; }, w, h);
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return ink;
}

TEST(Win32DialogText, TheFaceWritesCaptionsDisplayBoxesAndTheLinkOnly) {
  ExpectTextOnCaptionsDisplayBoxesAndTheLinkOnly(DrawsText);
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

TEST(Win32DialogText, TextStandsInItsRectangleAsAlignedGreyedOrAsALink) {
  const DrawTextFn draw = [](DialogControl c, const std::string& text, bool on) {
    return Draw(c, text, on);
  };
  ExpectTextStandsAsAligned(draw, "C:\\Users\\someone\\Pictures\\2024\\旅行\\一日目", 12, 2);
  ExpectGreyedTextAndABlueUnderlinedLink(draw);

  // At twice the resolution the same caption stands in the doubled rectangle.
  const Rect heading = ClientRect(DialogControl::lbl_13);
  const Ink single = Draw(DialogControl::lbl_13, "画像ﾁｪﾝｼﾞ", true);
  const Ink doubled = Draw(DialogControl::lbl_13, "画像ﾁｪﾝｼﾞ", true, 192);
  EXPECT_TRUE(InsideRect(doubled.box, Rect{heading.x * 2, heading.y * 2, heading.w * 2, 26}));
  EXPECT_GT(doubled.box.w, single.box.w * 3 / 2);
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
