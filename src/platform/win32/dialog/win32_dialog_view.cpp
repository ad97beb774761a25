#include "platform/win32/dialog/win32_dialog_view.h"

#include <chrono>
#include <cmath>
#include <optional>
#include <string_view>

#include "dialog/dialog_layout.h"
#include "dialog/dialog_painter.h"
#include "dialog/settings_dialog.h"
#include "dialog/skin.h"
#include "platform/win32/dialog/win32_choosers.h"
#include "platform/win32/dialog/win32_dialog_pictures.h"
#include "platform/win32/dialog/win32_dialog_text.h"
#include "platform/win32/dialog/win32_dialog_widgets.h"
#include "platform/win32/system/wide_text.h"
#include "platform/win32/system/window_state.h"

namespace orvel {
namespace {

constexpr const wchar_t* kWindowClass = L"OrvelSettingsDialog";
constexpr std::string_view kMessageTitle = "Orvel";
// The window's frame: a caption, a system menu and a minimise box; the
// client area is the dialog's size, and never larger: nothing lies beyond
// it to uncover.
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN;
// The children take part in Tab, and Escape ends the dialog, through the
// dialog manager.
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

constexpr int kDesignDpi = 96;

// A folder scan asks for its events after every file; more often than this
// they are not looked at, so that the scan is not held up by them.
constexpr std::chrono::milliseconds kEventPassInterval{15};
// At most so many messages in one pass: a pass must end even when messages
// keep coming.
constexpr int kMessagesPerPass = 200;

// The resolution of the monitor the window is on, where the system tells
// it per window (a program that says it is aware of it); the desktop's
// otherwise.
int WindowDpi(HWND window) {
  using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
  static const auto getDpiForWindow =
      reinterpret_cast<GetDpiForWindowCall>(reinterpret_cast<void (*)()>(
          GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (getDpiForWindow != nullptr && window != nullptr) {
    if (const UINT dpi = getDpiForWindow(window); dpi > 0) return static_cast<int>(dpi);
  }
  HDC screen = GetDC(nullptr);
  const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
  if (screen != nullptr) ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDesignDpi;
}

int Round(double value) { return static_cast<int>(std::lround(value)); }

}  // namespace

struct Win32DialogView::State {
  HWND window = nullptr;
  std::unique_ptr<Win32DialogWidgets> widgets;
  SettingsDialog* dialog = nullptr;
  bool closed = false;

  int dpi = kDesignDpi;
  double scale = 1;
  std::unique_ptr<DialogFonts> fonts;
  // The painted layer, painted again when a painted control changed.
  std::unique_ptr<DialogPainter> painter;
  const Image* painted = nullptr;
  bool paintStale = true;

  HCURSOR hand = nullptr;
  HICON icon = nullptr;
  bool busy = false;
  // The mouse buttons pressed on the painted area and not yet released.
  unsigned pressed = 0;

  std::optional<Rect> placed;
  std::chrono::steady_clock::time_point lastEventPass{};

  ~State() {
    // The window's last messages reach no dialog.
    closed = true;
    if (window != nullptr) DestroyWindow(window);
    if (hand != nullptr) DestroyCursor(hand);
    if (icon != nullptr) DestroyIcon(icon);
  }

  bool Live() const { return !closed && dialog != nullptr; }

  // Everything that depends on the resolution, for `newDpi`.
  void Rescale(int newDpi) {
    dpi = newDpi;
    scale = static_cast<double>(dpi) / kDesignDpi;
    fonts = std::make_unique<DialogFonts>(dpi);
    painter = std::make_unique<DialogPainter>(scale);
    paintStale = true;
    if (hand != nullptr) DestroyCursor(hand);
    const Cursor cursor = HandCursor(scale);
    hand = SpriteCursor(cursor.picture, cursor.hotX, cursor.hotY);
    widgets->Layout(scale, fonts->Get(DialogFont::Gothic), fonts->Get(DialogFont::DialogDefault));
    FitClientArea();
    InvalidateRect(window, nullptr, FALSE);
  }

  PixelSize ClientSize() const {
    const Rect client = ScaleRect(ClientRect(DialogControl::Pic_C), scale);
    return {client.w, client.h};
  }

  // The window's outer size for the client area, its top-left corner kept.
  void FitClientArea() {
    const PixelSize client = ClientSize();
    RECT outer{0, 0, client.width, client.height};
    AdjustWindowRectEx(&outer, kStyle, FALSE, kExStyle);
    SetWindowPos(window, nullptr, 0, 0, outer.right - outer.left, outer.bottom - outer.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // The painted layer and the captions over it, for the client area's
  // `area`, drawn off the screen and put on `target` in one piece.
  void PaintTo(HDC target, const RECT& area) {
    if (!Live()) return;
    if (paintStale || painted == nullptr) {
      painted = &painter->Paint(dialog->State());
      paintStale = false;
    }
    const PixelSize size = ClientSize();
    HDC work = CreateCompatibleDC(target);
    HBITMAP canvas = CreateCompatibleBitmap(target, size.width, size.height);
    if (work == nullptr || canvas == nullptr) {
      if (canvas != nullptr) DeleteObject(canvas);
      if (work != nullptr) DeleteDC(work);
      return;
    }
    HGDIOBJ previous = SelectObject(work, canvas);
    DrawImage(work, *painted);
    const Rect dirty{area.left, area.top, area.right - area.left, area.bottom - area.top};
    const DialogState& state = dialog->State();
    for (const ControlEntry& entry : DialogControls()) {
      if (!DrawsText(entry.role)) continue;
      const Rect rect = ScaleRect(ClientRect(entry.id), scale);
      if (Intersect(rect, dirty).Empty()) continue;
      DrawControlText(work, entry, state[entry.id], rect, fonts->For(entry), scale);
    }
    BitBlt(target, dirty.x, dirty.y, dirty.w, dirty.h, work, dirty.x, dirty.y, SRCCOPY);
    SelectObject(work, previous);
    DeleteObject(canvas);
    DeleteDC(work);
  }

  // The pointer over `over` (the window or one of its controls) at the hit
  // test's answer: busy over all of it, the hand over the native controls
  // that take the mouse and over the painted controls that do. False where
  // the system's own pointer belongs (the frame).
  bool SetPointer(HWND over, int hit) {
    if (busy) {
      SetCursor(LoadCursorW(nullptr, IDC_WAIT));
      return true;
    }
    if (hit != HTCLIENT || !Live()) return false;
    bool showHand = false;
    if (over == window) {
      POINT point{};
      GetCursorPos(&point);
      ScreenToClient(window, &point);
      showHand = dialog->HandAt(point.x / scale, point.y / scale);
    } else if (std::optional<DialogControl> owner = widgets->Owner(over)) {
      showHand = EntryOf(*owner).hand;
    } else {
      return false;
    }
    SetCursor(showHand && hand != nullptr ? hand : LoadCursorW(nullptr, IDC_ARROW));
    return true;
  }

  static unsigned ButtonBit(UINT message, WPARAM wParam) {
    switch (message) {
      case WM_LBUTTONDOWN:
      case WM_LBUTTONUP:
        return 1u << 0;
      case WM_MBUTTONDOWN:
      case WM_MBUTTONUP:
        return 1u << 1;
      case WM_RBUTTONDOWN:
      case WM_RBUTTONUP:
        return 1u << 2;
      default:
        return 1u << (2 + GET_XBUTTON_WPARAM(wParam));
    }
  }

  void OnPress(unsigned bit, LPARAM lParam) {
    pressed |= bit;
    // The release that ends the press comes here wherever the pointer is.
    SetCapture(window);
    const int x = static_cast<short>(LOWORD(lParam));
    const int y = static_cast<short>(HIWORD(lParam));
    dialog->MouseDown(x / scale, y / scale);
  }

  // The presses end without their releases: the capture was taken away,
  // the window was deactivated or hidden. Nothing acts on a release that
  // may still come.
  void CancelPress() {
    if (pressed == 0) return;
    pressed = 0;
    if (GetCapture() == window) ReleaseCapture();
    if (Live()) dialog->PressCancelled();
  }

  void OnRelease(unsigned bit) {
    if ((pressed & bit) == 0) return;
    pressed &= ~bit;
    if (pressed == 0 && GetCapture() == window) ReleaseCapture();
    dialog->MouseUp();
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_PAINT: {
        PAINTSTRUCT paint{};
        HDC dc = BeginPaint(window, &paint);
        if (dc != nullptr) PaintTo(dc, paint.rcPaint);
        EndPaint(window, &paint);
        return 0;
      }
      case WM_PRINTCLIENT: {
        const PixelSize size = ClientSize();
        PaintTo(reinterpret_cast<HDC>(wParam), RECT{0, 0, size.width, size.height});
        return 0;
      }
      case WM_ERASEBKGND:
        // The painted layer covers the whole client area.
        return 1;
      case WM_SETCURSOR:
        if (SetPointer(reinterpret_cast<HWND>(wParam), static_cast<short>(LOWORD(lParam)))) {
          return TRUE;
        }
        break;
      case WM_LBUTTONDOWN:
      case WM_MBUTTONDOWN:
      case WM_RBUTTONDOWN:
      case WM_XBUTTONDOWN:
        if (Live()) OnPress(ButtonBit(message, wParam), lParam);
        return message == WM_XBUTTONDOWN ? TRUE : 0;
      case WM_LBUTTONUP:
      case WM_MBUTTONUP:
      case WM_RBUTTONUP:
      case WM_XBUTTONUP:
        if (Live()) OnRelease(ButtonBit(message, wParam));
        return message == WM_XBUTTONUP ? TRUE : 0;
      case WM_CAPTURECHANGED:
        // Taken away (another window, a chooser); a release lets go of it
        // only once no press is left.
        if (reinterpret_cast<HWND>(lParam) != window) CancelPress();
        return 0;
      case WM_CANCELMODE:
        CancelPress();
        break;
      case WM_ACTIVATE:
        // The keyboard moving to one of the window's own controls keeps
        // the press; another window's taking it ends the press.
        if (LOWORD(wParam) == WA_INACTIVE) CancelPress();
        break;
      case WM_SHOWWINDOW:
        if (wParam == FALSE) CancelPress();
        break;
      case WM_COMMAND:
        if (LOWORD(wParam) == IDCANCEL && lParam == 0) {
          if (Live()) dialog->CloseRequested();
          return 0;
        }
        if (widgets != nullptr && widgets->OnCommand(wParam, lParam)) return 0;
        break;
      case WM_HSCROLL:
        if (widgets != nullptr && widgets->OnScroll(wParam, lParam)) return 0;
        break;
      case WM_KEYDOWN:
        if (wParam == VK_ESCAPE) {
          if (Live()) dialog->CloseRequested();
          return 0;
        }
        break;
      case WM_CLOSE:
        // The dialog closes the window itself, through Close.
        if (Live()) dialog->CloseRequested();
        return 0;
      case WM_DPICHANGED: {
        const auto* suggested = reinterpret_cast<const RECT*>(lParam);
        SetWindowPos(window, nullptr, suggested->left, suggested->top,
                     suggested->right - suggested->left, suggested->bottom - suggested->top,
                     SWP_NOZORDER | SWP_NOACTIVATE);
        Rescale(HIWORD(wParam));
        return 0;
      }
      case WM_DESTROY:
        // Gone by the system's hand (Close has already let go of it).
        window = nullptr;
        closed = true;
        return 0;
      default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }

  // One message, through the dialog manager (Tab between the controls,
  // Escape) when it is the window's.
  void Dispatch(MSG& message) {
    if (window != nullptr && IsDialogMessageW(window, &message)) return;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
};

Win32DialogView::Win32DialogView(std::unique_ptr<State> state) : state_(std::move(state)) {}

Win32DialogView::~Win32DialogView() = default;

std::unique_ptr<Win32DialogView> Win32DialogView::Create(const std::string& title) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  if (!GetClassInfoExW(instance, kWindowClass, &windowClass)) {
    windowClass = WNDCLASSEXW{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = &StateWindowProc<State>;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    windowClass.lpszClassName = kWindowClass;
    if (RegisterClassExW(&windowClass) == 0) return nullptr;
  }

  auto state = std::make_unique<State>();
  State& s = *state;
  const std::wstring caption = DisplayText(title);
  if (CreateWindowExW(kExStyle, kWindowClass, caption.c_str(), kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                      kDialogClientSize.width, kDialogClientSize.height, nullptr, nullptr, instance,
                      &s) == nullptr) {
    s.window = nullptr;
    return nullptr;
  }
  State* self = &s;
  s.widgets = std::make_unique<Win32DialogWidgets>(
      s.window, NativeControlEvents{[self](int index) {
                                      if (self->Live()) self->dialog->ListSelected(index);
                                    },
                                    [self](int position) {
                                      if (self->Live()) self->dialog->ScrollMoved(position);
                                    },
                                    [self](const std::string& text) {
                                      if (self->Live()) self->dialog->RepeatTextEdited(text);
                                    }});
  s.icon = ImageIcon(WindowIcon());
  if (s.icon != nullptr) {
    SendMessageW(s.window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(s.icon));
    SendMessageW(s.window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(s.icon));
  }
  s.Rescale(WindowDpi(s.window));
  return std::unique_ptr<Win32DialogView>(new Win32DialogView(std::move(state)));
}

void Win32DialogView::Attach(SettingsDialog& dialog) {
  state_->dialog = &dialog;
  state_->paintStale = true;
}

void Win32DialogView::Run() {
  State& s = *state_;
  if (s.closed) return;
  ShowWindow(s.window, SW_SHOWNORMAL);
  UpdateWindow(s.window);
  SetForegroundWindow(s.window);
  MSG message{};
  while (!s.closed) {
    const BOOL got = GetMessageW(&message, nullptr, 0, 0);
    if (got == 0) {
      // The program is asked to end: the message is left for its own loop.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    if (got < 0) break;
    s.Dispatch(message);
  }
}

HWND Win32DialogView::Window() const { return state_->window; }

double Win32DialogView::Scale() const { return state_->scale; }

void Win32DialogView::Changed(DialogControl control) {
  State& s = *state_;
  if (!s.Live()) return;
  if (s.widgets->Show(control, s.dialog->State())) return;
  if (!DrawsText(EntryOf(control).role)) s.paintStale = true;
  const Rect rect = ScaleRect(ClientRect(control), s.scale);
  const RECT area{rect.x, rect.y, rect.Right(), rect.Bottom()};
  InvalidateRect(s.window, &area, FALSE);
}

Rect Win32DialogView::PrimaryMonitor() {
  // The primary monitor's top-left corner is the desktop's origin.
  const double scale = state_->scale;
  return {0, 0, Round(GetSystemMetrics(SM_CXSCREEN) / scale),
          Round(GetSystemMetrics(SM_CYSCREEN) / scale)};
}

void Win32DialogView::Place(const Rect& frame) {
  State& s = *state_;
  if (s.closed) return;
  s.placed = frame;
  SetWindowPos(s.window, nullptr, Round(frame.x * s.scale), Round(frame.y * s.scale), 0, 0,
               SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
  s.FitClientArea();
}

Rect Win32DialogView::WindowRect() {
  State& s = *state_;
  RECT outer{};
  if (s.closed || !GetWindowRect(s.window, &outer)) return {};
  return {Round(outer.left / s.scale), Round(outer.top / s.scale),
          Round((outer.right - outer.left) / s.scale), Round((outer.bottom - outer.top) / s.scale)};
}

std::optional<ScreenPoint> Win32DialogView::PointerPosition() {
  POINT point{};
  if (!GetCursorPos(&point)) return std::nullopt;
  return ScreenPoint{Round(point.x / state_->scale), Round(point.y / state_->scale)};
}

void Win32DialogView::AnimateZoom(const Rect& from, const Rect& to) {
  State& s = *state_;
  if (s.closed) return;
  auto device = [&s](const Rect& r) {
    return RECT{Round(r.x * s.scale), Round(r.y * s.scale), Round(r.Right() * s.scale),
                Round(r.Bottom() * s.scale)};
  };
  const RECT start = device(from), end = device(to);
  DrawAnimatedRects(s.window, IDANI_CAPTION, &start, &end);
}

std::optional<std::string> Win32DialogView::ChooseFolder(const std::string& title) {
  if (state_->closed) return std::nullopt;
  return RunFolderChooser(state_->window, title);
}

std::optional<std::string> Win32DialogView::ChooseFile(const FileRequest& request) {
  if (state_->closed) return std::nullopt;
  return RunFileChooser(state_->window, request);
}

void Win32DialogView::OpenLink(const std::string& address) {
  if (state_->closed) return;
  ShowLink(state_->window, address);
}

void Win32DialogView::ShowMessage(const std::string& text) {
  State& s = *state_;
  RunMessage(s.closed ? nullptr : s.window, std::string(kMessageTitle), text);
}

void Win32DialogView::ProcessPendingEvents() {
  State& s = *state_;
  const auto now = std::chrono::steady_clock::now();
  if (now - s.lastEventPass < kEventPassInterval) return;
  s.lastEventPass = now;
  MSG message{};
  for (int i = 0; i < kMessagesPerPass && PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE); ++i) {
    if (message.message == WM_QUIT) {
      // For the program's own loop, once this pass is over.
      PostQuitMessage(static_cast<int>(message.wParam));
      break;
    }
    s.Dispatch(message);
  }
}

void Win32DialogView::SetBusyPointer(bool busy) {
  State& s = *state_;
  if (s.busy == busy) return;
  s.busy = busy;
  // Shown at once, before the slow work that follows; the next movement
  // of the pointer brings the hand back where it belongs.
  SetCursor(LoadCursorW(nullptr, busy ? IDC_WAIT : IDC_ARROW));
}

void Win32DialogView::Close() {
  State& s = *state_;
  if (s.closed) return;
  s.closed = true;
  HWND window = s.window;
  s.window = nullptr;
  if (window != nullptr) DestroyWindow(window);
  s.widgets.reset();
}

}  // namespace orvel
