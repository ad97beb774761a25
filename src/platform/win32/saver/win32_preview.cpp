#include "platform/win32/saver/win32_preview.h"

#include <windows.h>

#include "dialog/skin.h"
#include "platform/win32/saver/gdi_pixels.h"
#include "platform/win32/system/window_state.h"

namespace orvel {
namespace {

constexpr wchar_t kWindowClass[] = L"OrvelPreviewWindow";
constexpr wchar_t kWindowTitle[] = L"Preview Window";

}  // namespace

struct Win32Preview::State {
  Image still = PreviewStill();
  HWND window = nullptr;
  bool inPane = false;

  ~State() {
    if (window != nullptr) DestroyWindow(window);
  }

  void Paint() {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    FillRect(dc, &paint.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    // At its own size from the top-left corner; a smaller pane cuts it.
    std::vector<std::uint32_t> band;
    DrawFrameArea(dc, still, still.Bounds(), band);
    EndPaint(window, &paint);
  }

  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
      case WM_PAINT:
        Paint();
        return 0;
      case WM_ERASEBKGND:
        return 1;  // WM_PAINT paints every pixel
      case WM_DESTROY:
        // The preview's end is the program's: its owner, where it has one,
        // is asked to close, and the preview's loop ends.
        if (HWND owner = GetWindow(window, GW_OWNER)) PostMessageW(owner, WM_CLOSE, 0, 0);
        window = nullptr;
        PostQuitMessage(0);
        return 0;
      default:
        return DefWindowProcW(window, message, wParam, lParam);
    }
  }
};

std::unique_ptr<Win32Preview> Win32Preview::Show(std::int32_t hostWindow) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = StateWindowProc<State>;
  windowClass.hInstance = instance;
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.lpszClassName = kWindowClass;
  if (RegisterClassExW(&windowClass) == 0 && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
    return nullptr;
  }

  // The handle as the host wrote it: a 32-bit value, widened with its sign
  // as the system widens window handles.
  HWND pane = reinterpret_cast<HWND>(static_cast<INT_PTR>(hostWindow));
  auto state = std::make_unique<State>();
  RECT paneRect{};
  state->inPane = hostWindow != 0 && IsWindow(pane) && GetWindowRect(pane, &paneRect);
  if (!state->inPane) paneRect = {};
  CreateWindowExW(0, kWindowClass, kWindowTitle, state->inPane ? WS_CHILD : WS_POPUP, 0, 0,
                  paneRect.right - paneRect.left, paneRect.bottom - paneRect.top,
                  state->inPane ? pane : nullptr, nullptr, instance, state.get());
  if (state->window == nullptr) return nullptr;
  ShowWindow(state->window, SW_SHOWNA);
  UpdateWindow(state->window);
  return std::unique_ptr<Win32Preview>(new Win32Preview(std::move(state)));
}

Win32Preview::Win32Preview(std::unique_ptr<State> state) : state_(std::move(state)) {}

Win32Preview::~Win32Preview() = default;

void Win32Preview::Run() {
  if (!state_->inPane) return;
  MSG message;
  // The window's end posts the quit that ends this loop: the host may take
  // it down from another process, inside the wait for a message.
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
}

void* Win32Preview::WindowHandle() const { return state_->window; }

}  // namespace orvel
