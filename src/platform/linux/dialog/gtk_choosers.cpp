#include "platform/linux/dialog/gtk_choosers.h"

#include "settings/ascii.h"

namespace orvel {
namespace {

constexpr const char* kCancelLabel = "キャンセル(_C)";
constexpr const char* kOkLabel = "_OK";

// Runs the chooser and takes its local path when accepted.
std::optional<std::string> RunChooser(GtkWidget* chooser) {
  gtk_dialog_set_default_response(GTK_DIALOG(chooser), GTK_RESPONSE_ACCEPT);
  std::optional<std::string> path;
  if (gtk_dialog_run(GTK_DIALOG(chooser)) == GTK_RESPONSE_ACCEPT) {
    if (gchar* name = gtk_file_chooser_get_filename(GTK_FILE_CHOOSER(chooser))) {
      path = name;
      g_free(name);
    }
  }
  gtk_widget_destroy(chooser);
  return path;
}

}  // namespace

std::string CaseInsensitivePattern(const std::string& pattern) {
  std::string result;
  for (const char c : pattern) {
    if (AsciiLower(c) != AsciiUpper(c)) {
      result += '[';
      result += AsciiLower(c);
      result += AsciiUpper(c);
      result += ']';
    } else {
      result += c;
    }
  }
  return result;
}

std::optional<std::string> RunFolderChooser(GtkWindow* parent, const std::string& title) {
  GtkWidget* chooser = gtk_file_chooser_dialog_new(
      title.c_str(), parent, GTK_FILE_CHOOSER_ACTION_SELECT_FOLDER, kCancelLabel,
      GTK_RESPONSE_CANCEL, kOkLabel, GTK_RESPONSE_ACCEPT, nullptr);
  gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
  // It starts in the home folder, the desktop's top, rather than among the
  // recent files, where no folder can be chosen and a typed one is not
  // taken.
  gtk_file_chooser_set_current_folder(GTK_FILE_CHOOSER(chooser), g_get_home_dir());
  return RunChooser(chooser);
}

std::optional<std::string> RunFileChooser(GtkWindow* parent, const FileRequest& request) {
  GtkWidget* chooser = gtk_file_chooser_dialog_new(
      request.title.c_str(), parent, GTK_FILE_CHOOSER_ACTION_OPEN, kCancelLabel,
      GTK_RESPONSE_CANCEL, kOkLabel, GTK_RESPONSE_ACCEPT, nullptr);
  gtk_window_set_modal(GTK_WINDOW(chooser), TRUE);
  GtkFileFilter* filter = gtk_file_filter_new();
  gtk_file_filter_set_name(filter, request.filterName.c_str());
  for (const std::string& pattern : request.patterns) {
    gtk_file_filter_add_pattern(filter, CaseInsensitivePattern(pattern).c_str());
  }
  gtk_file_chooser_add_filter(GTK_FILE_CHOOSER(chooser), filter);
  return RunChooser(chooser);
}

void RunMessage(GtkWindow* parent, const std::string& title, const std::string& text) {
  // GTK shows only UTF-8: a file name that is not shows its bad bytes
  // replaced.
  gchar* shown = g_utf8_make_valid(text.data(), static_cast<gssize>(text.size()));
  GtkWidget* message = gtk_message_dialog_new(
      parent, GtkDialogFlags(GTK_DIALOG_MODAL | GTK_DIALOG_DESTROY_WITH_PARENT), GTK_MESSAGE_OTHER,
      GTK_BUTTONS_OK, "%s", shown);
  g_free(shown);
  gtk_window_set_title(GTK_WINDOW(message), title.c_str());
  gtk_dialog_run(GTK_DIALOG(message));
  gtk_widget_destroy(message);
}

void ShowLink(GtkWindow* parent, const std::string& address) {
  GError* error = nullptr;
  gtk_show_uri_on_window(parent, address.c_str(), GDK_CURRENT_TIME, &error);
  if (error != nullptr) g_error_free(error);
}

}  // namespace orvel
