// The settings dialog's choosers and messages on Linux: GTK's own folder
// and file choosers, a message box, and the desktop's handler for a link.
#pragma once

#include <gtk/gtk.h>

#include <optional>
#include <string>

#include "platform/platform.h"

namespace orvel {

// A file name pattern that GTK's case-sensitive matching applies without
// regard to letter case: "*.MP3" becomes "*.[mM][pP]3". The choosers pass
// only plain "*.EXT" patterns, so each letter simply becomes a set.
std::string CaseInsensitivePattern(const std::string& pattern);

// A folder chooser with the title, modal to `parent`: the chosen folder's
// local path, nullopt when cancelled or when the choice has no local path.
std::optional<std::string> RunFolderChooser(GtkWindow* parent, const std::string& title);

// A file chooser for an existing file, with the request's title and one
// filter of its patterns in any letter case: the chosen file's local path,
// nullopt when cancelled.
std::optional<std::string> RunFileChooser(GtkWindow* parent, const FileRequest& request);

// A modal message with only an OK button; returns when it is closed.
void RunMessage(GtkWindow* parent, const std::string& title, const std::string& text);

// Opens the address with the desktop's default handler; a failure is not
// reported.
void ShowLink(GtkWindow* parent, const std::string& address);

}  // namespace orvel
