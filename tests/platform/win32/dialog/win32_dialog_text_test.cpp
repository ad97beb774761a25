#include "platform/win32/dialog/win32_dialog_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "dialog/gothic_face.h"
#include "dialog_text_check.h"
#include "platform/win32/saver/gdi_pixels.h"
#include "platform/win32/system/wide_text.h"

namespace orvel {
namespace {

Ink Draw(DialogControl control, const std::string& text, bool enabled, int dpi = 96) {
  const double scale = dpi / 96.0;
  const int w = static_cast<int>(kDialogClientSize.width * scale);
  const int h = static_cast<int>(kDialogClientSize.height * scale);
  HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
  SelectObject(dc, bitmap);
  Image pixels(w, h, Rgb(204, 204, 204));
  std::vector<std::uint32_t> band;
  DrawFrameArea(dc, pixels, Rect{0, 0, w, h}, band);
  const DialogFonts fonts(dpi);
  const ControlEntry& entry = EntryOf(control);
  DrawControlText(dc, entry, ControlState{Look::None, text, enabled},
                  ScaleRect(ClientRect(control), scale), fonts.For(entry), scale);
  EXPECT_TRUE(ReadDeviceArea(dc, Rect{0, 0, w, h}, pixels));
  DeleteDC(dc);
  DeleteObject(bitmap);
  ReleaseDC(nullptr, screen);
  return InkOf([&](int x, int y) { return pixels.At(x, y); }, w, h);
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
    GetObjectW(fonts.Get(DialogFont::DialogDefault), sizeof(fallback), &fallback);
    EXPECT_EQ(fallback.lfHeight, -12 * dpi / 96);
    EXPECT_EQ(fallback.lfWeight, FW_NORMAL);
    EXPECT_FALSE(fallback.lfItalic);
    EXPECT_FALSE(fallback.lfUnderline);
  }
}

// Without "ＭＳ Ｐゴシック" the mapper once took a face with no Latin letters: boxes.
TEST(Win32DialogText, EachFontIsAnInstalledFaceWithTheLettersItShows) {
  const DialogFonts fonts(96);
  HDC dc = CreateCompatibleDC(nullptr);
  const std::wstring captions = L"*.bmp BGM 10 Ver ｼｰｹﾝｼｬﾙ 画像";
  for (const auto& [font, text] : {std::pair{DialogFont::Gothic, captions},
                                   {DialogFont::GothicUnderlined, captions},
                                   {DialogFont::DialogDefault, std::wstring(L"音楽CD")}}) {
    SelectObject(dc, fonts.Get(font));
    if (font != DialogFont::DialogDefault) {
      LOGFONTW asked{};
      GetObjectW(fonts.Get(font), sizeof(asked), &asked);
      wchar_t face[LF_FACESIZE] = {};
      GetTextFaceW(dc, LF_FACESIZE, face);
      EXPECT_STREQ(face, asked.lfFaceName);
      EXPECT_NE(std::ranges::find(kGothicFaces, Utf8FromWide(face)), kGothicFaces.end()) << face;
    }
    std::vector<WORD> glyphs(text.size());
    GetGlyphIndicesW(dc, text.c_str(), static_cast<int>(text.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    for (std::size_t i = 0; i < text.size(); ++i) EXPECT_NE(glyphs[i], 0xFFFF) << i;
  }
  DeleteDC(dc);
}

TEST(Win32DialogText, TextStandsInItsRectangleAsAlignedGreyedOrAsALink) {
  const DrawTextFn draw = [](DialogControl c, const std::string& text, bool on) {
    return Draw(c, text, on);
  };
  ExpectTextStandsAsAligned(draw, "C:\\Users\\someone\\Pictures\\2024\\旅行\\一日目", 12, 2);
  ExpectGreyedTextAndABlueUnderlinedLink(draw);

  const Rect heading = ClientRect(DialogControl::lbl_13);
  const Ink single = Draw(DialogControl::lbl_13, "画像ﾁｪﾝｼﾞ", true);
  const Ink doubled = Draw(DialogControl::lbl_13, "画像ﾁｪﾝｼﾞ", true, 192);
  EXPECT_TRUE(InsideRect(doubled.box, Rect{heading.x * 2, heading.y * 2, heading.w * 2, 26}));
  EXPECT_GT(doubled.box.w, single.box.w * 3 / 2);
}

TEST(Win32DialogText, TextThatIsNotUtf8ShowsWithReplacementLetters) {
  EXPECT_EQ(DisplayText("画像"), L"画像");
  EXPECT_EQ(DisplayText("a\377b"), L"a\uFFFDb");
  EXPECT_EQ(DisplayText(""), L"");
}

}  // namespace
}  // namespace orvel
