#include "platform/win32/dialog/win32_dialog_text.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>
#include <vector>

#include "dialog/gothic_face.h"
#include "platform/win32/system/wide_text.h"

namespace orvel {
namespace {

// 9.75 points, in hundredths.
constexpr int kGothicCentiPoints = 975;
constexpr int kDefaultPoints = 9;
// Letters of the music panel's captions that a font must have to show them.
constexpr const wchar_t* kMusicPanelLetters = L"音楽無曲目ﾌｧｲﾙ名";

// Every text stands on a 13-pixel line from its rectangle's top, its
// baseline where the dialog's Gothic has it.
constexpr double kBaseline = 11;
// A display box's text keeps clear of its single border.
constexpr double kBoxInset = 2;
// Narrowing gives up after so many tries (a font that will not narrow).
constexpr int kNarrowingTries = 8;

int CALLBACK AddFace(const LOGFONTW* font, const TEXTMETRICW*, DWORD, LPARAM faces) {
  reinterpret_cast<std::vector<std::string>*>(faces)->push_back(Utf8FromWide(font->lfFaceName));
  return 1;
}

// The dialog's Gothic or the installed face that stands in for it. Asked
// for a face it lacks, the font mapper takes one of the character set
// that may have no Latin letters, which then show as boxes.
std::wstring GothicFace() {
  std::vector<std::string> installed;
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc != nullptr) {
    LOGFONTW every{};
    every.lfCharSet = DEFAULT_CHARSET;
    EnumFontFamiliesExW(dc, &every, AddFace, reinterpret_cast<LPARAM>(&installed), 0);
    DeleteDC(dc);
  }
  return WideFromUtf8(ChooseGothicFace(installed)).value_or(L"");
}

HFONT Gothic(const std::wstring& face, int dpi, bool underlined) {
  return CreateFontW(-MulDiv(kGothicCentiPoints, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE,
                     underlined ? TRUE : FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, face.c_str());
}

// Whether the font has a glyph of its own for every character of `text`.
bool HasGlyphs(HFONT font, const wchar_t* text) {
  HDC dc = CreateCompatibleDC(nullptr);
  if (dc == nullptr) return false;
  HGDIOBJ previous = SelectObject(dc, font);
  const int length = lstrlenW(text);
  std::wstring glyphs(static_cast<std::size_t>(length), L'\0');
  const DWORD found = GetGlyphIndicesW(dc, text, length, reinterpret_cast<WORD*>(glyphs.data()),
                                       GGI_MARK_NONEXISTING_GLYPHS);
  SelectObject(dc, previous);
  DeleteDC(dc);
  return found == static_cast<DWORD>(length) &&
         glyphs.find(static_cast<wchar_t>(0xFFFF)) == std::wstring::npos;
}

HFONT MessageFont(const std::wstring& gothic, int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW shape{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    shape = metrics.lfMessageFont;
  } else {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(shape), &shape);
  }
  // Only the face is the system's: the size is the dialog's own, and a bold
  // or slanted message font would not fit the designed captions.
  shape.lfHeight = -MulDiv(kDefaultPoints, dpi, 72);
  shape.lfWidth = 0;
  shape.lfWeight = FW_NORMAL;
  shape.lfItalic = FALSE;
  shape.lfUnderline = FALSE;
  HFONT font = CreateFontIndirectW(&shape);
  if (font != nullptr && HasGlyphs(font, kMusicPanelLetters)) return font;
  // A message font without Japanese letters (where the system does not
  // lend them from another font) would show the music panel's captions as
  // boxes: the dialog's Gothic takes its place, at the same size.
  if (font != nullptr) DeleteObject(font);
  shape.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(shape.lfFaceName, gothic.c_str(), LF_FACESIZE);
  return CreateFontIndirectW(&shape);
}

int TextWidth(HDC dc, const std::wstring& text) {
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  return size.cx;
}

// The font narrowed so that `text` fits `room` pixels, selected into `dc`;
// nullptr when the font fits as it is (or will not narrow). The caller
// deletes it after selecting the old font back.
HFONT Narrowed(HDC dc, HFONT font, const std::wstring& text, int room, int& width) {
  LOGFONTW shape{};
  TEXTMETRICW metrics{};
  if (width <= room || room <= 0 || GetObjectW(font, sizeof(shape), &shape) == 0 ||
      !GetTextMetricsW(dc, &metrics) || metrics.tmAveCharWidth <= 0) {
    return nullptr;
  }
  LONG average = std::max<LONG>(1, metrics.tmAveCharWidth * room / width);
  HFONT narrowed = nullptr;
  for (int i = 0; i < kNarrowingTries && average >= 1; ++i, --average) {
    shape.lfWidth = average;
    HFONT candidate = CreateFontIndirectW(&shape);
    if (candidate == nullptr) break;
    SelectObject(dc, candidate);
    if (narrowed != nullptr) DeleteObject(narrowed);
    narrowed = candidate;
    width = TextWidth(dc, text);
    if (width <= room) break;
  }
  return narrowed;
}

// One past the lowest row that the selected font's text and its underline
// reach below the baseline at `baseline`.
int LineBottom(HDC dc, int baseline) {
  OUTLINETEXTMETRICW outline{};
  outline.otmSize = sizeof(outline);
  TEXTMETRICW metrics{};
  int below = GetTextMetricsW(dc, &metrics) ? metrics.tmDescent : 0;
  if (GetOutlineTextMetricsW(dc, sizeof(outline), &outline) != 0) {
    below = std::max(
        below, -outline.otmsUnderscorePosition + static_cast<int>(outline.otmsUnderscoreSize));
  }
  return baseline + below + 1;
}

}  // namespace

std::wstring DisplayText(const std::string& text) {
  if (text.empty() || text.size() > INT_MAX / 2) return {};
  const int length = static_cast<int>(text.size());
  const int needed = MultiByteToWideChar(CP_UTF8, 0, text.data(), length, nullptr, 0);
  if (needed <= 0) return {};
  std::wstring wide(static_cast<std::size_t>(needed), L'\0');
  MultiByteToWideChar(CP_UTF8, 0, text.data(), length, wide.data(), needed);
  return wide;
}

bool DrawsText(ControlRole role) {
  return role == ControlRole::Caption || role == ControlRole::DisplayBox ||
         role == ControlRole::Link;
}

DialogFonts::DialogFonts(int dpi) {
  const std::wstring face = GothicFace();
  fonts_[static_cast<std::size_t>(DialogFont::Gothic)] = Gothic(face, dpi, false);
  fonts_[static_cast<std::size_t>(DialogFont::GothicUnderlined)] = Gothic(face, dpi, true);
  fonts_[static_cast<std::size_t>(DialogFont::DialogDefault)] = MessageFont(face, dpi);
}

DialogFonts::~DialogFonts() {
  for (HFONT font : fonts_) {
    if (font != nullptr) DeleteObject(font);
  }
}

HFONT DialogFonts::For(const ControlEntry& entry) const {
  return Get(entry.role == ControlRole::Link ? DialogFont::GothicUnderlined : entry.font);
}

void DrawControlText(HDC dc, const ControlEntry& entry, const ControlState& state, const Rect& rect,
                     HFONT font, double scale) {
  if (state.text.empty() || font == nullptr) return;
  const std::wstring text = DisplayText(state.text);
  const int length = static_cast<int>(text.size());
  const int saved = SaveDC(dc);
  SelectObject(dc, font);
  int width = TextWidth(dc, text);

  const int inset =
      entry.role == ControlRole::DisplayBox ? static_cast<int>(std::lround(kBoxInset * scale)) : 0;
  const int left = rect.x + inset;
  const int room = rect.w - 2 * inset;
  // A stand-in font that runs a little wider than the designed one is
  // narrowed to the rectangle rather than cut: a narrower cut of the font
  // that fits, its letters spread out again to fill the rectangle.
  HFONT narrowed = Narrowed(dc, font, text, room, width);
  std::vector<INT> advances;
  if (narrowed != nullptr && width > 0 && width < room) {
    std::vector<INT> ends(text.size(), 0);
    int fit = 0;
    SIZE total{};
    if (GetTextExtentExPointW(dc, text.c_str(), length, 0, &fit, ends.data(), &total)) {
      advances.resize(text.size());
      int previous = 0;
      for (std::size_t i = 0; i < ends.size(); ++i) {
        const int end = static_cast<int>(std::lround(static_cast<double>(ends[i]) * room / width));
        advances[i] = end - previous;
        previous = end;
      }
      width = previous;
    }
  }
  int x = left;
  if (entry.align == TextAlign::Centre) x = left + (room - width) / 2;
  if (entry.align == TextAlign::Right) x = left + room - width;
  const int y = rect.y + inset + static_cast<int>(std::lround(kBaseline * scale));

  // Held to the rectangle's width; below it only as far as the line goes,
  // so that an underline that a stand-in font puts lower still shows.
  IntersectClipRect(dc, rect.x, rect.y, rect.Right(), std::max(rect.Bottom(), LineBottom(dc, y)));
  SetBkMode(dc, TRANSPARENT);
  SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  auto show = [&](int atX, int atY) {
    ExtTextOutW(dc, atX, atY, 0, nullptr, text.c_str(), static_cast<UINT>(length),
                advances.empty() ? nullptr : advances.data());
  };
  if (!state.enabled) {
    // Greyed as disabled labels always were: grey, with a white shadow
    // below and to the right.
    const int offset = std::max(1, static_cast<int>(std::lround(scale)));
    SetTextColor(dc, RGB(255, 255, 255));
    show(x + offset, y + offset);
    SetTextColor(dc, RGB(128, 128, 128));
  } else if (entry.role == ControlRole::Link) {
    SetTextColor(dc, RGB(0, 0, 255));
  } else {
    SetTextColor(dc, RGB(0, 0, 0));
  }
  show(x, y);
  RestoreDC(dc, saved);
  if (narrowed != nullptr) DeleteObject(narrowed);
}

}  // namespace orvel
