// A stand-in screen-saver host for the Windows GUI test.
//   preview PROGRAM SECONDS: runs "PROGRAM /p PANE" in a 200 x 150 pane, checks after SECONDS
//     that its window covers the pane, then takes the pane down. Exit: PROGRAM's, 4 pane not
//     covered, 3 not ended 10 s after, 2 not started.
//   point TITLE CONTROL: prints "x y", the screen centre of CONTROL ("lbl_Button(2)") in the
//     shown dialog TITLE; exit 1 when there is none.
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

// Whether the pane holds a visible child window of its own size made by process `id`.
bool CoversPaneFrom(HWND pane, DWORD id) {
  HWND child = GetWindow(pane, GW_CHILD);
  DWORD owner = 0;
  if (child != nullptr) GetWindowThreadProcessId(child, &owner);
  RECT paneRect{}, childRect{};
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
  if (waited != WAIT_OBJECT_0) TerminateProcess(process.hProcess, 3);
  DWORD status = 3;
  if (waited == WAIT_OBJECT_0) GetExitCodeProcess(process.hProcess, &status);
  CloseHandle(process.hProcess);
  DestroyWindow(host);
  return previewInPane ? static_cast<int>(status) : 4;
}

int Point(const wchar_t* title, const std::string& controlName) {
  HWND dialog = FindWindowW(nullptr, title);
  if (dialog == nullptr || !IsWindowVisible(dialog)) return 1;
  for (const orvel::ControlEntry& entry : orvel::DialogControls()) {
    if (entry.name != controlName) continue;
    // The client area tells the monitor's scale the layout is drawn at.
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
