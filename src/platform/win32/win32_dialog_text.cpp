#include "platform/win32/win32_dialog_text.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <string>

namespace orvel {
namespace {

constexpr const wchar_t* kGothicFace = L"ＭＳ Ｐゴシック";
// 9.75 points, in hundredths.
constexpr int kGothicCentiPoints = 975;
constexpr int kDefaultPoints = 9;

// Every text stands on a 13-pixel line from its rectangle's top, its
// baseline where the dialog's Gothic has it.
constexpr double kBaseline = 11;
// A display box's text keeps clear of its single border.
constexpr double kBoxInset = 2;
// Narrowing gives up after so many tries (a font that will not narrow).
constexpr int kNarrowingTries = 8;

HFONT Gothic(int dpi, bool underlined) {
  return CreateFontW(-MulDiv(kGothicCentiPoints, dpi, 7200), 0, 0, 0, FW_NORMAL, FALSE,
                     underlined ? TRUE : FALSE, FALSE, SHIFTJIS_CHARSET, OUT_DEFAULT_PRECIS,
                     CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, VARIABLE_PITCH | FF_SWISS, kGothicFace);
}

HFONT MessageFont(int dpi) {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  LOGFONTW font{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
    font = metrics.lfMessageFont;
  } else {
    GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font);
  }
  // Only the face is the system's: the size is the dialog's own, and a bold
  // or slanted message font would not fit the designed captions.
  font.lfHeight = -MulDiv(kDefaultPoints, dpi, 72);
  font.lfWidth = 0;
  font.lfWeight = FW_NORMAL;
  font.lfItalic = FALSE;
  font.lfUnderline = FALSE;
  return CreateFontIndirectW(&font);
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
  fonts_[static_cast<std::size_t>(DialogFont::Gothic)] = Gothic(dpi, false);
  fonts_[static_cast<std::size_t>(DialogFont::GothicUnderlined)] = Gothic(dpi, true);
  fonts_[static_cast<std::size_t>(DialogFont::DialogDefault)] = MessageFont(dpi);
}

DialogFonts::~DialogFonts() {
  for (HFONT font : fonts_) {
    if (font != nullptr) DeleteObject(font);
  }
}

HFONT DialogFonts::For(const ControlSpec& spec) const {
  return Get(spec.role == ControlRole::Link ? DialogFont::GothicUnderlined : spec.font);
}

void DrawControlText(HDC dc, const ControlSpec& spec, const ControlState& state, const Rect& rect,
                     HFONT font, double scale) {
  if (state.text.empty() || font == nullptr) return;
  const std::wstring text = DisplayText(state.text);
  HGDIOBJ previous = SelectObject(dc, font);
  int width = TextWidth(dc, text);

  const int inset =
      spec.role == ControlRole::DisplayBox ? static_cast<int>(std::lround(kBoxInset * scale)) : 0;
  const int left = rect.x + inset;
  const int room = rect.w - 2 * inset;
  // A stand-in font that runs a little wider than the designed one is
  // narrowed to the rectangle rather than cut.
  HFONT narrowed = Narrowed(dc, font, text, room, width);
  int x = left;
  if (spec.align == TextAlign::Centre) x = left + (room - width) / 2;
  if (spec.align == TextAlign::Right) x = left + room - width;
  const int y = rect.y + inset + static_cast<int>(std::lround(kBaseline * scale));

  const RECT clip{rect.x, rect.y, rect.Right(), rect.Bottom()};
  SetBkMode(dc, TRANSPARENT);
  const UINT align = SetTextAlign(dc, TA_BASELINE | TA_LEFT | TA_NOUPDATECP);
  auto show = [&](int atX, int atY) {
    ExtTextOutW(dc, atX, atY, ETO_CLIPPED, &clip, text.c_str(), static_cast<UINT>(text.size()),
                nullptr);
  };
  if (!state.enabled) {
    // Greyed as disabled labels always were: grey, with a white shadow
    // below and to the right.
    const int offset = std::max(1, static_cast<int>(std::lround(scale)));
    SetTextColor(dc, RGB(255, 255, 255));
    show(x + offset, y + offset);
    SetTextColor(dc, RGB(128, 128, 128));
  } else if (spec.role == ControlRole::Link) {
    SetTextColor(dc, RGB(0, 0, 255));
  } else {
    SetTextColor(dc, RGB(0, 0, 0));
  }
  show(x, y);
  SetTextAlign(dc, align);
  SelectObject(dc, previous);
  if (narrowed != nullptr) DeleteObject(narrowed);
}

}  // namespace orvel
