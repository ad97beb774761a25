#include "platform/win32/music/win32_media_control.h"

#include <windows.h>
// After windows.h, which the multimedia header needs.
#include <mmsystem.h>

#include "platform/win32/system/wide_text.h"

namespace orvel {
namespace {

// Replies fill at most this many characters, as they always have.
constexpr UINT kReplyChars = 512;
constexpr UINT kErrorChars = 256;

}  // namespace

int Win32MediaControl::Send(const std::string& command, std::string& reply) {
  reply.clear();
  std::optional<std::wstring> wide = WideFromUtf8(command);
  if (!wide) return MCIERR_UNRECOGNIZED_COMMAND;
  wchar_t buffer[kReplyChars] = {};
  const MCIERROR code = mciSendStringW(wide->c_str(), buffer, kReplyChars, nullptr);
  buffer[kReplyChars - 1] = L'\0';
  if (code == 0) reply = Utf8FromWide(buffer);
  return static_cast<int>(code);
}

std::optional<std::string> Win32MediaControl::ErrorText(int code) {
  wchar_t buffer[kErrorChars] = {};
  if (!mciGetErrorStringW(static_cast<MCIERROR>(code), buffer, kErrorChars)) return std::nullopt;
  buffer[kErrorChars - 1] = L'\0';
  return Utf8FromWide(buffer);
}

}  // namespace orvel
