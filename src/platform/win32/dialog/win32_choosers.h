// The settings dialog's choosers and messages on Windows: the shell's
// folder browser, the common open-file dialog, a message box, and the
// shell's handler for a link.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "platform/platform.h"

namespace orvel {

// The open-file dialog's filter for the request: its name, then its
// patterns joined by ";", each ended by a NUL, and a NUL after the last
// ("Music\0*.MP3;*.WAV\0\0"). A request without patterns offers every file.
std::wstring FileFilter(const FileRequest& request);

// The shell's folder browser with the title, modal to `owner`: the chosen
// folder's path, nullopt when cancelled or when the choice is no folder of
// the file system (a printer, the network's top).
std::optional<std::string> RunFolderChooser(HWND owner, const std::string& title);

// The open-file dialog for an existing file, with the request's title and
// filter: the chosen file's path, nullopt when cancelled.
std::optional<std::string> RunFileChooser(HWND owner, const FileRequest& request);

// A modal message box with only an OK button; returns when it is closed.
void RunMessage(HWND owner, const std::string& title, const std::string& text);

// Opens the address with the shell's handler for it; a failure is not
// reported.
void ShowLink(HWND owner, const std::string& address);

}  // namespace orvel
