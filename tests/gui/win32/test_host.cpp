// A stand-in for the screen-saver host in the Windows GUI test.
//
//   orvel_test_host preview PROGRAM SECONDS
//     Shows a borderless window titled "orvel test: preview host" at (100,
//     100) on the screen, 320 x 240, with a black pane of 200 x 150 at (10,
//     10) in it, and starts "PROGRAM /p PANE" as the host does. After
//     SECONDS it checks that PROGRAM's window covers the pane, takes the
//     pane down and waits for PROGRAM to end. Exit status: PROGRAM's, or 4
//     when its window did not cover the pane, 3 when it had not ended 10
//     seconds after the pane went, 2 when it could not be started.
//
//   orvel_test_host point TITLE CONTROL
//     Prints the screen position of the centre of CONTROL ("lbl_Button(2)")
//     in the settings dialog titled TITLE, as "x y". Exit status 1 when the
//     window or the control is not there, or the window is not shown yet
//     (until then it may still be sized and placed).
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "dialog/dialog_layout.h"
#include "platform/win32/system/wide_text.h"

namespace {

constexpr wchar_t kHostTitle[] = L"orvel test: preview host";
constexpr DWORD kEndWait = 10000;

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// Lets the windows of this thread work for `milliseconds`.
void PumpFor(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (ULONGLONG now = GetTickCount64(); now < end; now = GetTickCount64()) {
    MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
}

// Whether the pane holds a visible child window of its own size made by the
// process `id`. (Wine draws no window that another process puts into ours,
// so the test can only see that the window is there.)
bool CoversPaneFrom(HWND pane, DWORD id) {
  HWND child = GetWindow(pane, GW_CHILD);
  DWORD owner = 0;
  if (child != nullptr) GetWindowThreadProcessId(child, &owner);
  RECT paneRect{};
  RECT childRect{};
  GetWindowRect(pane, &paneRect);
  if (child != nullptr) GetWindowRect(child, &childRect);
  std::printf("preview window %s, %ld x %ld in a pane of %ld x %ld\n",
              child == nullptr ? "absent"
              : owner == id    ? "from the program"
                               : "from elsewhere",
              childRect.right - childRect.left, childRect.bottom - childRect.top,
              paneRect.right - paneRect.left, paneRect.bottom - paneRect.top);
  return child != nullptr && owner == id && IsWindowVisible(child) &&
         EqualRect(&paneRect, &childRect);
}

int Preview(const wchar_t* program, int seconds) {
  HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  windowClass.lpfnWndProc = HostProc;
  windowClass.hInstance = instance;
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
  windowClass.lpszClassName = L"OrvelTestHost";
  RegisterClassExW(&windowClass);
  HWND host = CreateWindowExW(0, windowClass.lpszClassName, kHostTitle,
                              WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 100, 100, 320, 240, nullptr,
                              nullptr, instance, nullptr);
  HWND pane =
      CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN | SS_BLACKRECT, 10,
                      10, 200, 150, host, nullptr, instance, nullptr);
  if (host == nullptr || pane == nullptr) return 2;

  // The host passes the pane's handle as a decimal number.
  std::wstring commandLine =
      L"\"" + std::wstring(program) + L"\" /p " + std::to_wstring(reinterpret_cast<UINT_PTR>(pane));
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                      &startup, &process)) {
    return 2;
  }
  CloseHandle(process.hThread);
  PumpFor(static_cast<DWORD>(seconds) * 1000);
  const bool previewInPane = CoversPaneFrom(pane, process.dwProcessId);

  DestroyWindow(pane);
  const ULONGLONG end = GetTickCount64() + kEndWait;
  DWORD waited = WAIT_TIMEOUT;
  while (waited != WAIT_OBJECT_0 && GetTickCount64() < end) {
    waited = MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, 100, QS_ALLINPUT);
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  DWORD status = 3;
  if (waited != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 3);
  } else {
    GetExitCodeProcess(process.hProcess, &status);
  }
  CloseHandle(process.hProcess);
  DestroyWindow(host);
  if (!previewInPane) return 4;
  return static_cast<int>(status);
}

int Point(const wchar_t* title, const std::string& controlName) {
  HWND dialog = FindWindowW(nullptr, title);
  if (dialog == nullptr || !IsWindowVisible(dialog)) return 1;
  for (const orvel::ControlEntry& entry : orvel::DialogControls()) {
    if (entry.name != controlName) continue;
    // The dialog draws its layout at the monitor's scale; its client area
    // tells which.
    RECT client{};
    GetClientRect(dialog, &client);
    const double scale = static_cast<double>(client.right) / orvel::kDialogClientSize.width;
    const orvel::Rect rect = orvel::ScaleRect(orvel::ClientRect(entry.id), scale);
    POINT centre{rect.x + rect.w / 2, rect.y + rect.h / 2};
    ClientToScreen(dialog, &centre);
    std::printf("%ld %ld\n", centre.x, centre.y);
    return 0;
  }
  return 1;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wcscmp(argv[1], L"preview") == 0) {
    return Preview(argv[2], _wtoi(argv[3]));
  }
  if (argc == 4 && std::wcscmp(argv[1], L"point") == 0) {
    return Point(argv[2], orvel::Utf8FromWide(argv[3]));
  }
  std::fputs("usage: orvel_test_host preview PROGRAM SECONDS | point TITLE CONTROL\n", stderr);
  return 2;
}
