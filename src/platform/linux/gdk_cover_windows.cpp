#include "platform/linux/gdk_cover_windows.h"

#include <gdk/gdkx.h>

#include <algorithm>
#include <utility>

namespace orvel {
namespace {

// A title of its own: a second window titled as the saver would pass for a
// second saver.
constexpr const char* kCoverTitle = "Orvel_Cover";

gboolean PaintBlack(GtkWidget*, cairo_t* cr, gpointer) {
  cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
  cairo_set_source_rgb(cr, 0, 0, 0);
  cairo_paint(cr);
  return TRUE;
}

// The window manager's close button or shortcut does nothing, as on the
// saver window.
gboolean IgnoreDelete(GtkWidget*, GdkEvent*, gpointer) { return TRUE; }

}  // namespace

void SetCursorNow(GdkWindow* window, GdkCursor* cursor) {
  gdk_window_set_cursor(window, cursor);
  GdkDisplay* display = gdk_window_get_display(window);
  if (!GDK_IS_X11_DISPLAY(display)) return;
  XDefineCursor(GDK_DISPLAY_XDISPLAY(display), GDK_WINDOW_XID(window),
                cursor != nullptr ? gdk_x11_cursor_get_xcursor(cursor) : None);
}

std::vector<int> MonitorsToCover(std::span<const Rect> monitors, const Rect& saverArea) {
  std::vector<int> chosen;
  for (int i = 0; i < static_cast<int>(monitors.size()); ++i) {
    const Rect& area = monitors[i];
    if (area.Empty() || Intersect(area, saverArea) == area) continue;
    const bool twin = std::any_of(chosen.begin(), chosen.end(),
                                  [&](int earlier) { return monitors[earlier] == area; });
    if (!twin) chosen.push_back(i);
  }
  return chosen;
}

GdkCoverWindows::GdkCoverWindows(GdkDisplay* display, const Rect& saverArea, GdkCursor* blankCursor,
                                 std::function<void(GtkWidget*)> wire)
    : display_(display), saverArea_(saverArea), blankCursor_(blankCursor), wire_(std::move(wire)) {
  Update();
}

GdkCoverWindows::~GdkCoverWindows() {
  for (const Cover& cover : covers_) gtk_widget_destroy(cover.window);
}

bool GdkCoverWindows::Update() {
  std::vector<Rect> monitors;
  for (int i = 0; i < gdk_display_get_n_monitors(display_); ++i) {
    GdkRectangle geometry{};
    gdk_monitor_get_geometry(gdk_display_get_monitor(display_, i), &geometry);
    monitors.push_back({geometry.x, geometry.y, geometry.width, geometry.height});
  }
  const std::vector<int> wanted = MonitorsToCover(monitors, saverArea_);
  std::vector<Cover> kept;
  for (const Cover& cover : covers_) {
    const bool stays = std::any_of(wanted.begin(), wanted.end(),
                                   [&](int index) { return monitors[index] == cover.area; });
    if (stays) {
      kept.push_back(cover);
    } else {
      gtk_widget_destroy(cover.window);
    }
  }
  bool added = false;
  for (int index : wanted) {
    const bool covered = std::any_of(kept.begin(), kept.end(), [&](const Cover& cover) {
      return cover.area == monitors[index];
    });
    if (covered) continue;
    kept.push_back({Make(monitors[index], index), monitors[index]});
    added = true;
  }
  covers_ = std::move(kept);
  return added;
}

GtkWidget* GdkCoverWindows::Make(const Rect& area, int monitorIndex) {
  GtkWidget* window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* gtkWindow = GTK_WINDOW(window);
  gtk_window_set_title(gtkWindow, kCoverTitle);
  gtk_window_set_decorated(gtkWindow, FALSE);
  gtk_window_set_skip_taskbar_hint(gtkWindow, TRUE);
  gtk_window_set_skip_pager_hint(gtkWindow, TRUE);
  // Where a window manager keeps windows in place, and without one.
  gtk_window_move(gtkWindow, area.x, area.y);
  gtk_window_set_default_size(gtkWindow, area.w, area.h);
  gtk_window_fullscreen_on_monitor(gtkWindow, gdk_display_get_default_screen(display_),
                                   monitorIndex);
  gtk_widget_set_app_paintable(window, TRUE);
  gtk_widget_add_events(window,
                        GDK_KEY_PRESS_MASK | GDK_BUTTON_PRESS_MASK | GDK_POINTER_MOTION_MASK);
  g_signal_connect(window, "draw", G_CALLBACK(PaintBlack), nullptr);
  g_signal_connect(window, "delete-event", G_CALLBACK(IgnoreDelete), nullptr);
  wire_(window);
  gtk_widget_realize(window);
  if (pointerHidden_) SetCursorNow(gtk_widget_get_window(window), blankCursor_);
  if (keptAbove_) gtk_window_set_keep_above(gtkWindow, TRUE);
  if (shown_) gtk_widget_show(window);
  return window;
}

void GdkCoverWindows::Show() {
  shown_ = true;
  for (const Cover& cover : covers_) gtk_widget_show(cover.window);
}

void GdkCoverWindows::KeepAbove() {
  keptAbove_ = true;
  for (const Cover& cover : covers_) gtk_window_set_keep_above(GTK_WINDOW(cover.window), TRUE);
}

void GdkCoverWindows::SetPointerHidden(bool hidden) {
  pointerHidden_ = hidden;
  for (const Cover& cover : covers_) {
    SetCursorNow(gtk_widget_get_window(cover.window), hidden ? blankCursor_ : nullptr);
  }
}

std::vector<Rect> GdkCoverWindows::Areas() const {
  std::vector<Rect> areas;
  for (const Cover& cover : covers_) areas.push_back(cover.area);
  return areas;
}

}  // namespace orvel
