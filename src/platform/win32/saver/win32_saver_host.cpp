#include "platform/win32/saver/win32_saver_host.h"

#include <windows.h>

#include <algorithm>
#include <utility>

#include "platform/win32/saver/gdi_pixels.h"
#include "platform/win32/saver/win32_input.h"
#include "platform/win32/system/wide_text.h"
#include "platform/win32/system/window_state.h"

namespace orvel {
namespace {

constexpr wchar_t kWindowClass[] = L"OrvelSaverWindow";

// The password check of password.cpl (9x family).
using VerifyPasswordFunction = BOOL(WINAPI*)(HWND);

// The value of SetProcessDpiAwarenessContext's per-monitor (v2) awareness,
// which older headers and systems lack.
const auto kPerMonitorAwareV2 = reinterpret_cast<HANDLE>(static_cast<INT_PTR>(-4));

void MakeDpiAware() {
  HMODULE user = GetModuleHandleW(L"user32.dll");
  using SetContextFunction = BOOL(WINAPI*)(HANDLE);
  auto setContext = reinterpret_cast<SetContextFunction>(
      reinterpret_cast<void*>(GetProcAddress(user, "SetProcessDpiAwarenessContext")));
  // Fails harmlessly where the manifest has set the awareness already.
  if (setContext != nullptr) {
    setContext(kPerMonitorAwareV2);
  } else {
    SetProcessDPIAware();
  }
}

ModifierKeys ModifiersNow() {
  return {GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0, GetKeyState(VK_MENU) < 0};
}

bool NineXFamily() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  return GetVersionExW(&version) && version.dwPlatformId == VER_PLATFORM_WIN32_WINDOWS;
}

}  // namespace

struct Win32SaverHost::State {
  Clock& clock;
  HWND window = nullptr;
  RECT monitor{};
  // The last presented frame; the saver keeps what it refers to alive
  // until the next one.
  Frame frame;
  // A band of a frame's rows as GDI takes them, kept from frame to frame.
  std::vector<std::uint32_t> band;
  InputQueue input;
  // The handler of the last event pass.
  InputHandler* handler = nullptr;
  // The last wait ran out with no message for the thread, and no event pass
  // has run since: the next one has nothing new to fetch. Messages that
  // come in later wake the next wait at once.
  bool queueQuiet = false;

  explicit State(Clock& c) : clock(c) {}

  ~State() {
    if (window != nullptr) DestroyWindow(window);
  }

  // Closed: the window is gone, and nothing more is shown or handed over.
  bool Closed() const { return window == nullptr; }

  int Width() const { return monitor.right - monitor.left; }
  int Height() const { return monitor.bottom - monitor.top; }

  // Takes in every message waiting for the thread; input is queued for the
  // next event pass.
  void Pump() {
    queueQuiet = false;
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE | PM_NOYIELD)) {
      DispatchMessageW(&message);
    }
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    const Rect exposed{paint.rcPaint.left, paint.rcPaint.top,
                       paint.rcPaint.right - paint.rcPaint.left,
                       paint.rcPaint.bottom - paint.rcPaint.top};
    // Black where the frame does not reach, then the frame.
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    DrawFrameArea(dc, frame, exposed, band);
    EndPaint(window, &paint);
  }

  void Deliver(InputHandler& to) {
    input.Deliver(to, [this] { return Closed(); });
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    if (std::optional<InputEvent> event = InputOfMessage(message, wParam, lParam, ModifiersNow())) {
      input.Push(*event);
      return 0;
    }
    switch (message) {
      case WM_PAINT:
        Paint();
        return 0;
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT paints every pixel
      case WM_CLOSE:
        // Another program's close ends the saver as a key does; the saver
        // takes the window down itself.
        input.AskToClose();
        return 0;
      case WM_QUERYENDSESSION:
        return TRUE;  // the saver never holds up the session's end
      case WM_ENDSESSION:
        // The process may be gone as soon as this returns: the music is
        // stopped and the flags restored here and now.
        if (wParam != FALSE) {
          input.AskToClose();
          if (handler != nullptr) Deliver(*handler);
        }
        return 0;
      case WM_SYSCOMMAND:
        // No second saver over this one.
        if ((wParam & 0xFFF0) == SC_SCREENSAVE) return 0;
        break;
      case WM_DESTROY:
        window = nullptr;
        return 0;
      default:
        break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
  }
};

std::unique_ptr<Win32SaverHost> Win32SaverHost::Create(Clock& clock, const std::string& title) {
  MakeDpiAware();
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  // A device context of its own, kept from frame to frame: one made afresh
  // for each frame costs more than the frame's drawing (under Wine, even a
  // read of the X resource files).
  windowClass.style = CS_OWNDC;
  windowClass.lpfnWndProc = StateWindowProc<State>;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  // A second host in the same process finds the class registered already.
  if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return nullptr;
  }

  auto state = std::make_unique<State>(clock);
  // The primary monitor is the one whose top-left corner is the origin.
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (GetMonitorInfoW(MonitorFromPoint(POINT{0, 0}, MONITOR_DEFAULTTOPRIMARY), &info)) {
    state->monitor = info.rcMonitor;
  } else {
    state->monitor = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
  }
  // Kept off the taskbar and out of the task switcher. Titled from the
  // start: a second copy finds it while the first picture is being read.
  const std::optional<std::wstring> wideTitle = WideFromUtf8(title);
  CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, wideTitle ? wideTitle->c_str() : L"", WS_POPUP,
                  state->monitor.left, state->monitor.top, state->Width(), state->Height(), nullptr,
                  nullptr, instance, state.get());
  if (state->window == nullptr) return nullptr;
  return std::unique_ptr<Win32SaverHost>(new Win32SaverHost(std::move(state)));
}

Win32SaverHost::Win32SaverHost(std::unique_ptr<State> state) : state_(std::move(state)) {}

Win32SaverHost::~Win32SaverHost() = default;

int Win32SaverHost::ScreenWidth() { return state_->Width(); }
int Win32SaverHost::ScreenHeight() { return state_->Height(); }

bool Win32SaverHost::CaptureDesktop(Image& into) {
  const State& s = *state_;
  HDC screen = GetDC(nullptr);
  if (screen == nullptr) return false;
  const Rect area{s.monitor.left, s.monitor.top, std::min(into.Width(), s.Width()),
                  std::min(into.Height(), s.Height())};
  const bool copied = ReadDeviceArea(screen, area, into);
  ReleaseDC(nullptr, screen);
  return copied;
}

void Win32SaverHost::Show() {
  State& s = *state_;
  if (s.Closed()) return;
  ShowWindow(s.window, SW_SHOWNORMAL);
  SetForegroundWindow(s.window);
  UpdateWindow(s.window);
}

void Win32SaverHost::MakeTopMost() {
  State& s = *state_;
  if (s.Closed()) return;
  SetWindowPos(s.window, HWND_TOPMOST, 0, 0, 0, 0, SWP_NOACTIVATE | SWP_NOMOVE | SWP_NOSIZE);
}

void Win32SaverHost::Present(const Frame& frame, std::span<const Rect> changed) {
  State& s = *state_;
  if (s.Closed()) return;
  s.frame = frame;
  if (!IsWindowVisible(s.window)) return;
  HDC dc = GetDC(s.window);
  if (dc == nullptr) return;
  // One rectangle at a time: their union would copy all that lies between.
  for (const Rect& rect : changed) DrawFrameArea(dc, frame, rect, s.band);
  ReleaseDC(s.window, dc);
  GdiFlush();
}

void Win32SaverHost::ProcessInput(InputHandler& handler) {
  State& s = *state_;
  s.handler = &handler;
  // Asking for messages costs a round trip to the window system (under
  // Wine, to its server) each time: not made by the first pass after a
  // wait that saw none.
  if (!s.queueQuiet) s.Pump();
  s.queueQuiet = false;
  s.Deliver(handler);
}

void Win32SaverHost::WaitUntil(std::int64_t monotonicMs) {
  State& s = *state_;
  s.queueQuiet = false;  // a frame that ran late waits not at all
  for (;;) {
    const std::int64_t remaining = monotonicMs - s.clock.MonotonicMs();
    if (remaining <= 0 || s.Closed() || s.input.CloseAsked()) return;
    // Also wakes for messages that were already waiting before the call.
    const DWORD woke = MsgWaitForMultipleObjectsEx(
        0, nullptr, static_cast<DWORD>(std::min<std::int64_t>(remaining, 1000)), QS_ALLINPUT,
        MWMO_INPUTAVAILABLE);
    if (woke == WAIT_OBJECT_0) {
      s.Pump();
    } else if (woke == WAIT_TIMEOUT) {
      s.queueQuiet = true;
    }
  }
}

std::optional<bool> Win32SaverHost::VerifyPassword() {
  if (!NineXFamily()) return std::nullopt;
  HMODULE library = LoadLibraryW(L"password.cpl");
  if (library == nullptr) return std::nullopt;
  auto verify = reinterpret_cast<VerifyPasswordFunction>(
      reinterpret_cast<void*>(GetProcAddress(library, "VerifyScreenSavePwd")));
  std::optional<bool> answer;
  if (verify != nullptr) answer = verify(state_->window) != FALSE;
  FreeLibrary(library);
  return answer;
}

void Win32SaverHost::Close() {
  State& s = *state_;
  if (s.Closed()) return;
  s.input.Clear();
  s.handler = nullptr;
  s.frame = Frame();
  DestroyWindow(s.window);
  s.window = nullptr;
}

void* Win32SaverHost::WindowHandle() const { return state_->window; }

}  // namespace orvel
