#include <windows.h>
// After windows.h, which the shell's header needs.
#include <shlobj.h>

#include "platform/win32/system/wide_text.h"
#include "platform/win32/system/win32_platform.h"

namespace orvel {
namespace {

// The signature of the password-change dialog in mpr.dll (9x family).
using PwdChangePasswordFunction = DWORD(WINAPI*)(LPCSTR provider, HWND parent, DWORD, DWORD);

}  // namespace

std::string Win32Locations::ProgramFolder() {
  std::wstring path(MAX_PATH, L'\0');
  while (true) {
    const DWORD length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) return ".";
    if (length < path.size()) {
      path.resize(length);
      break;
    }
    // Cut to fit: a longer buffer gives the whole name.
    path.resize(path.size() * 2);
  }
  const std::size_t slash = path.rfind(L'\\');
  if (slash == std::wstring::npos) return ".";
  // A drive's root keeps its backslash, "C:\", as the system reports it.
  const bool driveRoot = slash == 2 && path[1] == L':';
  return Utf8FromWide(std::wstring_view(path).substr(0, driveRoot ? slash + 1 : slash));
}

std::string Win32Locations::UserSettingsFolder() {
  std::string folder;
  wchar_t* roaming = nullptr;
  if (SHGetKnownFolderPath(FOLDERID_RoamingAppData, 0, nullptr, &roaming) == S_OK) {
    folder = Utf8FromWide(roaming);
  }
  CoTaskMemFree(roaming);
  if (folder.empty()) return ProgramFolder();
  if (folder.back() != '\\') folder += '\\';
  return folder + "Orvel";
}

std::int64_t Win32Clock::MonotonicMs() {
  LARGE_INTEGER frequency{}, counter{};
  if (!QueryPerformanceFrequency(&frequency) || frequency.QuadPart <= 0 ||
      !QueryPerformanceCounter(&counter)) {
    return static_cast<std::int64_t>(GetTickCount64());
  }
  // In two parts, so that the product cannot overflow.
  const std::int64_t ticks = counter.QuadPart, perSecond = frequency.QuadPart;
  return ticks / perSecond * 1000 + ticks % perSecond * 1000 / perSecond;
}

std::uint64_t Win32Clock::SeedFromTime() {
  FILETIME now{};
  GetSystemTimeAsFileTime(&now);
  return (static_cast<std::uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
}

bool Win32System::WindowExists(const std::string& title) {
  std::optional<std::wstring> wide = WideFromUtf8(title);
  return wide && FindWindowW(nullptr, wide->c_str()) != nullptr;
}

VersionInfo Win32System::QueryVersion() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
  const BOOL result = GetVersionExW(&version);
  return {result, result ? static_cast<int>(version.dwPlatformId) : 0};
}

bool Win32System::SetSystemParameter(unsigned action, std::int32_t parameter) {
  // -1 reaches the system as all bits set, as a screen saver has always
  // passed "true".
  return SystemParametersInfoW(action, static_cast<UINT>(parameter), nullptr, 0) != 0;
}

int Win32System::ShowCursor(bool show) { return ::ShowCursor(show ? TRUE : FALSE); }

void Win32System::ChangePassword(const std::string& provider, std::int32_t parentWindow) {
  HMODULE mpr = LoadLibraryW(L"mpr.dll");
  if (mpr == nullptr) return;
  auto change = reinterpret_cast<PwdChangePasswordFunction>(
      reinterpret_cast<void*>(GetProcAddress(mpr, "PwdChangePasswordA")));
  // The provider's name is plain ASCII ("SCRSAVE"), the same in every code
  // page.
  if (change != nullptr) {
    change(provider.c_str(), reinterpret_cast<HWND>(static_cast<INT_PTR>(parentWindow)), 0, 0);
  }
  FreeLibrary(mpr);
}

}  // namespace orvel
