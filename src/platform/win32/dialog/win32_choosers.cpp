#include "platform/win32/dialog/win32_choosers.h"

#include <commdlg.h>
#include <objbase.h>
#include <ole2.h>
#include <shellapi.h>
#include <shlobj.h>

#include <vector>

#include "platform/win32/dialog/win32_dialog_text.h"
#include "platform/win32/system/wide_text.h"

namespace orvel {
namespace {

// Paths may be long: the file dialog and the folder's path get this much
// room (the longest path the system knows).
constexpr DWORD kPathRoom = 32768;

}  // namespace

std::wstring FileFilter(const FileRequest& request) {
  std::wstring filter = DisplayText(request.filterName);
  filter += L'\0';
  if (request.patterns.empty()) filter += L"*.*";
  for (std::size_t i = 0; i < request.patterns.size(); ++i) {
    if (i > 0) filter += L';';
    filter += DisplayText(request.patterns[i]);
  }
  filter += L'\0';
  filter += L'\0';
  return filter;
}

std::optional<std::string> RunFolderChooser(HWND owner, const std::string& title) {
  // The browser's newer face is made of COM objects on this thread.
  const HRESULT ole = OleInitialize(nullptr);
  const std::wstring caption = DisplayText(title);
  BROWSEINFOW browse{};
  browse.hwndOwner = owner;
  browse.lpszTitle = caption.c_str();
  browse.ulFlags = BIF_RETURNONLYFSDIRS | BIF_NEWDIALOGSTYLE;
  std::optional<std::string> path;
  if (PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&browse)) {
    std::vector<wchar_t> buffer(kPathRoom, L'\0');
    if (SHGetPathFromIDListEx(chosen, buffer.data(), kPathRoom, GPFIDL_DEFAULT) &&
        buffer[0] != L'\0') {
      path = Utf8FromWide(buffer.data());
    }
    CoTaskMemFree(chosen);
  }
  if (SUCCEEDED(ole)) OleUninitialize();
  return path;
}

std::optional<std::string> RunFileChooser(HWND owner, const FileRequest& request) {
  const std::wstring filter = FileFilter(request);
  const std::wstring caption = DisplayText(request.title);
  std::vector<wchar_t> file(kPathRoom, L'\0');
  OPENFILENAMEW open{};
  open.lStructSize = sizeof(open);
  open.hwndOwner = owner;
  open.lpstrFilter = filter.c_str();
  open.nFilterIndex = 1;
  open.lpstrFile = file.data();
  open.nMaxFile = kPathRoom;
  open.lpstrTitle = caption.empty() ? nullptr : caption.c_str();
  // The working folder stays where it was: the program's files are found
  // by full paths, but a library might not be.
  open.Flags =
      OFN_EXPLORER | OFN_FILEMUSTEXIST | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
  if (!GetOpenFileNameW(&open) || file[0] == L'\0') return std::nullopt;
  return Utf8FromWide(file.data());
}

void RunMessage(HWND owner, const std::string& title, const std::string& text) {
  MessageBoxW(owner, DisplayText(text).c_str(), DisplayText(title).c_str(), MB_OK);
}

void ShowLink(HWND owner, const std::string& address) {
  ShellExecuteW(owner, L"open", DisplayText(address).c_str(), nullptr, nullptr, SW_SHOWNORMAL);
}

}  // namespace orvel
