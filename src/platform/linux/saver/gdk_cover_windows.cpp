#include "platform/linux/saver/gdk_cover_windows.h"

#include <gdk/gdkx.h>

#include <algorithm>
#include <utility>

namespace orvel {
namespace {

// A title of its own: a second window titled as the saver would pass for a
// second saver.
constexpr const char* kCoverTitle = "Orvel_Cover";

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

GdkWindow* MakeScreenWindow(GdkDisplay* display, const Rect& area, int monitorIndex,
                            const char* title) {
  GdkWindowAttr attributes{};
  attributes.window_type = GDK_WINDOW_TOPLEVEL;
  attributes.wclass = GDK_INPUT_OUTPUT;
  attributes.title = const_cast<gchar*>(title);
  // Where a window manager keeps windows in place, and without one.
  attributes.x = area.x;
  attributes.y = area.y;
  attributes.width = area.w;
  attributes.height = area.h;
  attributes.event_mask = GDK_KEY_PRESS_MASK | GDK_BUTTON_PRESS_MASK | GDK_POINTER_MOTION_MASK |
                          GDK_EXPOSURE_MASK | GDK_STRUCTURE_MASK;
  GdkWindow* window =
      gdk_window_new(gdk_screen_get_root_window(gdk_display_get_default_screen(display)),
                     &attributes, GDK_WA_X | GDK_WA_Y | GDK_WA_TITLE);
  // The server itself fills what is uncovered with black, before anything
  // is painted and between two frames.
  G_GNUC_BEGIN_IGNORE_DEPRECATIONS
  const GdkRGBA black{0, 0, 0, 1};
  gdk_window_set_background_rgba(window, &black);
  G_GNUC_END_IGNORE_DEPRECATIONS
  gdk_window_set_decorations(window, static_cast<GdkWMDecoration>(0));
  gdk_window_set_skip_taskbar_hint(window, TRUE);
  gdk_window_set_skip_pager_hint(window, TRUE);
  gdk_window_fullscreen_on_monitor(window, monitorIndex);
  return window;
}

GdkCoverWindows::GdkCoverWindows(GdkDisplay* display, const Rect& saverArea, GdkCursor* blankCursor)
    : display_(display), saverArea_(saverArea), blankCursor_(blankCursor) {
  Update();
}

GdkCoverWindows::~GdkCoverWindows() {
  for (const Cover& cover : covers_) gdk_window_destroy(cover.window);
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
      gdk_window_destroy(cover.window);
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

GdkWindow* GdkCoverWindows::Make(const Rect& area, int monitorIndex) {
  GdkWindow* window = MakeScreenWindow(display_, area, monitorIndex, kCoverTitle);
  if (pointerHidden_) SetCursorNow(window, blankCursor_);
  if (keptAbove_) gdk_window_set_keep_above(window, TRUE);
  if (shown_) gdk_window_show(window);
  return window;
}

void GdkCoverWindows::Show() {
  shown_ = true;
  for (const Cover& cover : covers_) gdk_window_show(cover.window);
}

void GdkCoverWindows::KeepAbove() {
  keptAbove_ = true;
  for (const Cover& cover : covers_) gdk_window_set_keep_above(cover.window, TRUE);
}

void GdkCoverWindows::SetPointerHidden(bool hidden) {
  pointerHidden_ = hidden;
  for (const Cover& cover : covers_) SetCursorNow(cover.window, hidden ? blankCursor_ : nullptr);
}

bool GdkCoverWindows::Holds(const GdkWindow* window) const {
  return std::any_of(covers_.begin(), covers_.end(),
                     [window](const Cover& cover) { return cover.window == window; });
}

std::vector<Rect> GdkCoverWindows::Areas() const {
  std::vector<Rect> areas;
  for (const Cover& cover : covers_) areas.push_back(cover.area);
  return areas;
}

}  // namespace orvel
