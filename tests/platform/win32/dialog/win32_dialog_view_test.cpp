#include "platform/win32/dialog/win32_dialog_view.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <string>
#include <tuple>

#include "dialog/dialog_painter.h"
#include "dialog/settings_dialog.h"
#include "platform/headless/headless_platform.h"
#include "platform/headless/headless_saver.h"
#include "platform/win32/saver/gdi_pixels.h"
#include "settings/settings_store.h"
#include "settings/shift_jis.h"

namespace orvel {
namespace {

using C = DialogControl;

constexpr const char* kTitle = "Orvelの設定 (view test)";
constexpr const wchar_t* kWideTitle = L"Orvelの設定 (view test)";

std::wstring ItemText(HWND window, UINT lengthMessage, UINT textMessage, int index) {
  const LRESULT length = SendMessageW(window, lengthMessage, static_cast<WPARAM>(index), 0);
  if (length <= 0) return {};
  std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
  SendMessageW(window, textMessage, static_cast<WPARAM>(index),
               reinterpret_cast<LPARAM>(text.data()));
  text.resize(static_cast<std::size_t>(length));
  return text;
}

Rect ChildRect(HWND child) {
  RECT r{};
  GetWindowRect(child, &r);
  MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void Pump() {
  MSG message{};
  while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
}

LPARAM ClientPoint(int x, int y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)),
                    static_cast<WORD>(static_cast<short>(y)));
}

class Win32DialogViewTest : public ::testing::Test {
 protected:
  HeadlessPlatform host;
  AppState state;
  MemoryPictureLoader pictures;
  const std::string ini = "C:\\Orvel\\Orvel.ini";
  std::unique_ptr<Win32DialogView> view;
  std::optional<SettingsDialog> dialog;

  void Open(const std::string& settingsLines) {
    host.files.AddFile("C:\\Pics\\b.bmp");
    host.files.AddFile("C:\\Pics\\a.gif");
    host.files.AddFile(ini, *Utf8ToShiftJis("[Section]\r\n" + settingsLines));
    LoadSettings(state.settings, state.catalogue, ini, host.files);
    view = Win32DialogView::Create(kTitle);
    ASSERT_NE(view, nullptr);
    dialog.emplace(state, DialogServices{*view, host.files, pictures, ini});
    view->Attach(*dialog);
    dialog->Load();
  }

  HWND Window() const { return view->Window(); }
  HWND Child(const wchar_t* kind) const { return FindWindowExW(Window(), nullptr, kind, nullptr); }
  double Scale() const { return view->Scale(); }
  Rect Device(C control) const { return ScaleRect(ClientRect(control), Scale()); }

  void Click(UINT down, UINT up, C control, std::optional<POINT> release = std::nullopt) {
    const Rect r = Device(control);
    const int x = r.x + r.w / 2, y = r.y + r.h / 2;
    PostMessageW(Window(), down, 0, ClientPoint(x, y));
    Pump();
    EXPECT_EQ(GetCapture(), Window());
    const POINT at = release.value_or(POINT{x, y});
    PostMessageW(Window(), up, 0, ClientPoint(at.x, at.y));
    Pump();
  }

  std::string Stored() { return ShiftJisToUtf8(host.files.Contents(ini).value_or("")); }
};

TEST_F(Win32DialogViewTest, BuildsTheWindowAtTheDialogsSizeWithItsNativeControlsFilled) {
  Open("画像のﾌｫﾙﾀﾞ=C:\\Pics\r\nBGM区分=1\r\nBGMﾘﾋﾟｰﾄ=3\r\nｲﾝﾀｰﾊﾞﾙ=30\r\n");
  EXPECT_EQ(FindWindowW(nullptr, kWideTitle), Window());

  RECT client{};
  GetClientRect(Window(), &client);
  EXPECT_EQ(client.right, std::lround(557 * Scale()));
  EXPECT_EQ(client.bottom, std::lround(489 * Scale()));
  EXPECT_NE(SendMessageW(Window(), WM_GETICON, ICON_BIG, 0), 0);

  HWND list = Child(L"ListBox");
  EXPECT_EQ(ChildRect(list), Device(C::List_1));
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  EXPECT_EQ(ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, 0), L"a.gif");
  EXPECT_EQ(ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, 1), L"b.bmp");
  EXPECT_EQ(SendMessageW(list, LB_GETCURSEL, 0, 0), LB_ERR);
  EXPECT_EQ(SendMessageW(list, LB_GETHORIZONTALEXTENT, 0, 0), std::lround(469 * Scale()));

  HWND bar = Child(L"ScrollBar");
  EXPECT_EQ(ChildRect(bar), Device(C::HS_CD));
  int least = 0, most = 0;
  GetScrollRange(bar, SB_CTL, &least, &most);
  EXPECT_EQ(least, 5);
  EXPECT_EQ(most, 60);
  EXPECT_EQ(GetScrollPos(bar, SB_CTL), 30);

  HWND repeat = Child(L"ComboBox");
  const Rect field = ChildRect(repeat), want = Device(C::BGM_Repeat);
  EXPECT_EQ(Rect(field.x, field.y, field.w, 0), Rect(want.x, want.y, want.w, 0));
  RECT dropped{};
  SendMessageW(repeat, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&dropped));
  EXPECT_GE(dropped.bottom - dropped.top, std::lround(150 * Scale()));
  ASSERT_EQ(SendMessageW(repeat, CB_GETCOUNT, 0, 0), 31);
  EXPECT_EQ(ItemText(repeat, CB_GETLBTEXTLEN, CB_GETLBTEXT, 0), L"");
  EXPECT_EQ(ItemText(repeat, CB_GETLBTEXTLEN, CB_GETLBTEXT, 30), L"30");
  wchar_t shown[8] = {};
  GetWindowTextW(repeat, shown, 8);
  EXPECT_STREQ(shown, L"3");
  EXPECT_TRUE(IsWindowEnabled(repeat));
}

TEST_F(Win32DialogViewTest, TheNativeControlsHandTheUsersChangesToTheDialog) {
  Open("画像のﾌｫﾙﾀﾞ=C:\\Pics\r\nBGM区分=1\r\n");
  HWND list = Child(L"ListBox");
  HWND bar = Child(L"ScrollBar");
  HWND repeat = Child(L"ComboBox");
  const auto command = [&](HWND from, WORD code) {
    SendMessageW(Window(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(from), code),
                 reinterpret_cast<LPARAM>(from));
  };

  SendMessageW(list, LB_SETCURSEL, 1, 0);
  command(list, LBN_SELCHANGE);
  EXPECT_EQ(dialog->State().listSelection, 1);

  for (const auto& [code, position, seconds] : {std::tuple{SB_LINERIGHT, 0, 11},
                                                {SB_THUMBTRACK, 42, 42},
                                                {SB_RIGHT, 0, 60},
                                                {SB_LINERIGHT, 0, 60},
                                                {SB_PAGELEFT, 0, 59},
                                                {SB_LEFT, 0, 5},
                                                {SB_LINELEFT, 0, 5}}) {
    SendMessageW(Window(), WM_HSCROLL, MAKEWPARAM(code, position), reinterpret_cast<LPARAM>(bar));
    EXPECT_EQ(dialog->State()[C::lbl_Sec].text, std::to_string(seconds)) << code;
    EXPECT_EQ(GetScrollPos(bar, SB_CTL), seconds) << code;
  }

  SetWindowTextW(repeat, L"12");
  command(repeat, CBN_EDITCHANGE);
  EXPECT_EQ(dialog->State()[C::BGM_Repeat].text, "12");
  SendMessageW(repeat, CB_SETCURSEL, 7, 0);
  command(repeat, CBN_SELCHANGE);
  EXPECT_EQ(dialog->State()[C::BGM_Repeat].text, "7");

  // "無し" takes the repeat box out of use; a kind switched off leaves the list.
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, C::lbl_BGM_0);
  EXPECT_FALSE(IsWindowEnabled(repeat));
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, C::lbl_Kind_1);
  ASSERT_EQ(SendMessageW(list, LB_GETCOUNT, 0, 0), 1);
  EXPECT_EQ(ItemText(list, LB_GETTEXTLEN, LB_GETTEXT, 0), L"b.bmp");
}

TEST_F(Win32DialogViewTest, AnyButtonActsOnTheCaptionsAndTheReleaseEndsAPressAnywhere) {
  Open("");
  Click(WM_RBUTTONDOWN, WM_RBUTTONUP, C::lbl_Rdm_Seq_1);
  EXPECT_EQ(state.settings.PictureOrder, 1);
  EXPECT_EQ(GetCapture(), nullptr);
  Click(WM_MBUTTONDOWN, WM_MBUTTONUP, C::Img_Size_0);
  EXPECT_EQ(state.settings.PictureSize, 0);
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, C::lbl_Kind_2);
  EXPECT_EQ(state.settings.PictureKinds[2], 0);

  const Rect cancel = Device(C::lbl_Button_3);
  PostMessageW(Window(), WM_LBUTTONUP, 0, ClientPoint(cancel.x + 2, cancel.y + 2));
  Pump();
  EXPECT_FALSE(dialog->Closed());

  // A press whose release never comes rests its face; the next click, on nothing, runs nothing.
  const std::function<void()> losses[] = {
      [] { ReleaseCapture(); },
      [this] { SendMessageW(Window(), WM_CANCELMODE, 0, 0); },
      [this] { SendMessageW(Window(), WM_ACTIVATE, WA_INACTIVE, 0); },
      [this] { ShowWindow(Window(), SW_HIDE); },
  };
  ShowWindow(Window(), SW_SHOWNA);
  for (const auto& lose : losses) {
    PostMessageW(Window(), WM_LBUTTONDOWN, 0, ClientPoint(cancel.x + 2, cancel.y + 2));
    Pump();
    lose();
    EXPECT_EQ(dialog->State()[C::Img_Button_3].look, Look::ButtonResting);
    PostMessageW(Window(), WM_LBUTTONDOWN, 0, ClientPoint(2, 2));
    PostMessageW(Window(), WM_LBUTTONUP, 0, ClientPoint(2, 2));
    Pump();
    ASSERT_FALSE(dialog->Closed());
  }

  // Pressed on "ｷｬﾝｾﾙ", released off the window: the dialog closes, unsaved.
  HWND window = Window();
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, C::lbl_Button_3, POINT{-40, -40});
  EXPECT_TRUE(dialog->Closed());
  EXPECT_EQ(view->Window(), nullptr);
  EXPECT_FALSE(IsWindow(window));
  EXPECT_EQ(Stored(), "[Section]\r\n");
}

TEST_F(Win32DialogViewTest, EscapeAndTheCloseBoxCloseTheDialogAndEndItsRun) {
  Open("");
  HWND list = Child(L"ListBox");
  SetFocus(list);
  PostMessageW(list, WM_KEYDOWN, VK_ESCAPE, 0);
  view->ProcessPendingEvents();
  EXPECT_TRUE(dialog->Closed());
  EXPECT_EQ(FindWindowW(nullptr, kWideTitle), nullptr);

  dialog.reset();
  view.reset();
  Open("");
  PostMessageW(Window(), WM_CLOSE, 0, 0);
  view->Run();
  EXPECT_TRUE(dialog->Closed());
  EXPECT_EQ(FindWindowW(nullptr, kWideTitle), nullptr);
  EXPECT_EQ(Stored(), "[Section]\r\n");
}

Image ClientPixels(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
  HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
  HGDIOBJ old = SelectObject(dc, bitmap);
  SendMessageW(window, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
  Image pixels(client.right, client.bottom);
  EXPECT_TRUE(ReadDeviceArea(dc, Rect{0, 0, client.right, client.bottom}, pixels));
  SelectObject(dc, old);
  DeleteObject(bitmap);
  DeleteDC(dc);
  ReleaseDC(nullptr, screen);
  return pixels;
}

// Whether any pixel of `r` passes the test: dark (text), or mid grey (greyed text).
bool Any(const Image& pixels, const Rect& r, bool (*test)(std::uint32_t)) {
  for (int y = r.y; y < r.Bottom(); ++y) {
    for (int x = r.x; x < r.Right(); ++x) {
      if (test(pixels.At(x, y))) return true;
    }
  }
  return false;
}

bool Dark(std::uint32_t p) { return RedOf(p) < 60 && GreenOf(p) < 60 && BlueOf(p) < 60; }
bool Greyed(std::uint32_t p) { return RedOf(p) == 128 && GreenOf(p) == 128 && BlueOf(p) == 128; }

TEST_F(Win32DialogViewTest, PaintsTheSkinWithTheCaptionsOverIt) {
  Open("BGM区分=1\r\n");
  const Image painted = PaintDialog(dialog->State(), Scale());
  const Image pixels = ClientPixels(Window());
  for (C control : {C::Pic_C, C::Img_H_5, C::Img_SR_0}) {
    const Rect r = Device(control);
    EXPECT_EQ(pixels.At(r.x + 1, r.y + r.h / 2), painted.At(r.x + 1, r.y + r.h / 2))
        << EntryOf(control).name;
  }
  // A caption in black on its heading; the disabled music-file button's greyed, no black.
  EXPECT_TRUE(Any(pixels, Device(C::lbl_13), Dark));
  EXPECT_TRUE(Any(pixels, Device(C::lbl_Button_4), Greyed));
  EXPECT_FALSE(Any(pixels, Device(C::lbl_Button_4), Dark));

  const Rect mark = Device(C::Img_Kind_0);
  const int x = mark.x + mark.w / 2, y = mark.y + mark.h / 2;
  Click(WM_LBUTTONDOWN, WM_LBUTTONUP, C::Img_Kind_0);
  const std::uint32_t now = ClientPixels(Window()).At(x, y);
  EXPECT_NE(now, pixels.At(x, y));
  EXPECT_EQ(now, PaintDialog(dialog->State(), Scale()).At(x, y));
}

TEST_F(Win32DialogViewTest, TheHandShowsOverWhatTakesTheMouseAndTheBusyPointerOverAll) {
  Open("");
  const auto pointerOver = [&](HWND over, C at) {
    const Rect r = Device(at);
    POINT point{r.x + r.w / 2, r.y + r.h / 2};
    ClientToScreen(Window(), &point);
    SetCursorPos(point.x, point.y);
    SendMessageW(Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(over),
                 MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return GetCursor();
  };
  const HCURSOR arrow = LoadCursorW(nullptr, IDC_ARROW);
  const HCURSOR hand = pointerOver(Window(), C::lbl_Rdm_Seq_0);
  ASSERT_NE(hand, nullptr);
  EXPECT_NE(hand, arrow);
  ICONINFO info{};
  ASSERT_TRUE(GetIconInfo(hand, &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, static_cast<DWORD>(std::lround(12 * Scale())));
  EXPECT_EQ(info.yHotspot, static_cast<DWORD>(std::lround(1 * Scale())));
  if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
  if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);

  EXPECT_EQ(pointerOver(Window(), C::lbl_13), arrow);
  // Over the frame the system's own pointer shows, whatever lies below.
  pointerOver(Window(), C::lbl_Rdm_Seq_0);
  SetCursor(nullptr);
  SendMessageW(Window(), WM_SETCURSOR, reinterpret_cast<WPARAM>(Window()),
               MAKELPARAM(HTCAPTION, WM_MOUSEMOVE));
  EXPECT_EQ(GetCursor(), arrow);
  // The disabled music-file button takes no presses, and shows no hand.
  EXPECT_EQ(pointerOver(Window(), C::lbl_Button_4), arrow);
  EXPECT_EQ(pointerOver(Child(L"ListBox"), C::List_1), hand);
  EXPECT_EQ(pointerOver(Child(L"ScrollBar"), C::HS_CD), hand);

  view->SetBusyPointer(true);
  const HCURSOR wait = LoadCursorW(nullptr, IDC_WAIT);
  EXPECT_EQ(GetCursor(), wait);
  EXPECT_EQ(pointerOver(Window(), C::lbl_Rdm_Seq_0), wait);
  EXPECT_EQ(pointerOver(Child(L"ListBox"), C::List_1), wait);
  view->SetBusyPointer(false);
  EXPECT_EQ(pointerOver(Window(), C::lbl_Rdm_Seq_0), hand);
}

TEST_F(Win32DialogViewTest, PlacesTheWindowInDialogPixelsAndReadsItBack) {
  Open("");
  view->Place(Rect{100, 80, 565, 516});
  const Rect placed = view->WindowRect();
  EXPECT_EQ(placed.x, 100);
  EXPECT_EQ(placed.y, 80);
  RECT client{};
  GetClientRect(Window(), &client);
  EXPECT_EQ(client.right, std::lround(557 * Scale()));
  EXPECT_EQ(client.bottom, std::lround(489 * Scale()));
  EXPECT_EQ(view->PrimaryMonitor(),
            (Rect{0, 0, static_cast<int>(std::lround(GetSystemMetrics(SM_CXSCREEN) / Scale())),
                  static_cast<int>(std::lround(GetSystemMetrics(SM_CYSCREEN) / Scale()))}));
  view->Close();
  EXPECT_EQ(view->WindowRect(), Rect{});
}

}  // namespace
}  // namespace orvel
