#include "platform/linux/dialog/gtk_dialog_view.h"

#include <array>
#include <cstdlib>
#include <string_view>

#include "dialog/dialog_layout.h"
#include "dialog/dialog_painter.h"
#include "dialog/settings_dialog.h"
#include "dialog/skin.h"

// After the core's headers: Xlib's macros (None) would break their names.
#include <gdk/gdkx.h>
#include <gtk/gtk.h>

#include "platform/linux/dialog/gtk_choosers.h"
#include "platform/linux/dialog/gtk_dialog_pictures.h"
#include "platform/linux/dialog/gtk_dialog_text.h"
#include "platform/linux/dialog/gtk_dialog_widgets.h"
#include "platform/linux/dialog/x11_zoom.h"

namespace orvel {
namespace {

// The zoom: about 100 ms in 8 steps, short enough that the dialog is on
// the screen within 300 ms of the start.
constexpr int kZoomSteps = 8;
constexpr int kZoomStepMs = 12;
constexpr int kZoomLineWidth = 2;

// A folder scan asks for its events after every file; more often than this
// they are not looked at, so that the scan is not held up by them.
constexpr gint64 kEventPassMicroseconds = 15000;
// At most so many events in one pass: a pass must end even when events
// keep coming.
constexpr int kEventsPerPass = 200;

constexpr std::string_view kMessageTitle = "Orvel";

bool WaylandSession() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* session = std::getenv("XDG_SESSION_TYPE");
  return (wayland != nullptr && wayland[0] != '\0') ||
         (session != nullptr && std::string_view(session) == "wayland");
}

std::string DesktopFontName() {
  gchar* name = nullptr;
  g_object_get(gtk_settings_get_default(), "gtk-font-name", &name, nullptr);
  std::string font = name != nullptr ? name : "Sans 10";
  g_free(name);
  return font;
}

// The native controls' looks: the list in the dialog's Gothic on white,
// the drop-down in the desktop's font shrunk to its small box, the scroll
// bar with its arrow buttons.
void InstallStyle(GdkScreen* screen, const std::string& desktopFamily) {
  const std::string css =
      "#orvel-list treeview { -GtkTreeView-vertical-separator: 0; font-family: \"ＭＳ "
      "Ｐゴシック\", \"IPAPGothic\"; font-size: 13px;"
      " background-color: #ffffff; color: #000000; }\n"
      "#orvel-list treeview:selected { background-color: #0a246a; color: #ffffff; }\n"
      "#orvel-repeat entry, #orvel-repeat button { font-family: \"" +
      desktopFamily +
      "\"; font-size: 12px; min-height: 0; min-width: 0; padding: 0 1px; }\n"
      "#orvel-repeat entry { padding-left: 3px; }\n"
      "#orvel-interval { -GtkScrollbar-has-backward-stepper: true;"
      " -GtkScrollbar-has-forward-stepper: true; }\n"
      "#orvel-interval button { min-width: 15px; min-height: 15px; padding: 0; }\n"
      "#orvel-interval slider { min-width: 15px; min-height: 13px; }\n";
  GtkCssProvider* provider = gtk_css_provider_new();
  gtk_css_provider_load_from_data(provider, css.c_str(), -1, nullptr);
  gtk_style_context_add_provider_for_screen(screen, GTK_STYLE_PROVIDER(provider),
                                            GTK_STYLE_PROVIDER_PRIORITY_APPLICATION);
  g_object_unref(provider);
}

}  // namespace

struct GtkDialogView::State {
  GdkDisplay* display = nullptr;
  GtkWidget* window = nullptr;
  GtkWidget* fixed = nullptr;
  std::unique_ptr<DialogWidgets> widgets;
  SettingsDialog* dialog = nullptr;
  bool closed = false;

  // The painted layer at the scale it was painted for, and a surface over
  // it; painted again when a painted control changed.
  Image painted;
  cairo_surface_t* surface = nullptr;
  int paintedScale = 0;
  bool paintStale = true;

  std::array<PangoFontDescription*, 3> fonts{};

  GdkCursor* hand = nullptr;
  int handScale = 0;
  GdkCursor* wait = nullptr;
  bool busy = false;
  bool handShown = false;

  std::optional<Rect> placed;
  gint64 lastEventPass = 0;
  // The mouse buttons pressed on the painted area and not yet released.
  unsigned pressed = 0;

  ~State() {
    // The window's last signals reach no dialog.
    closed = true;
    if (window != nullptr) gtk_widget_destroy(window);
    if (surface != nullptr) cairo_surface_destroy(surface);
    for (PangoFontDescription* font : fonts) {
      if (font != nullptr) pango_font_description_free(font);
    }
    if (hand != nullptr) g_object_unref(hand);
    if (wait != nullptr) g_object_unref(wait);
  }

  bool Live() const { return !closed && dialog != nullptr; }
  GdkWindow* PaintedWindow() const {
    return fixed != nullptr ? gtk_widget_get_window(fixed) : nullptr;
  }
  int Scale() const { return fixed != nullptr ? gtk_widget_get_scale_factor(fixed) : 1; }

  const PangoFontDescription* Font(DialogFont font) const {
    return fonts[static_cast<std::size_t>(font)];
  }

  void Repaint(int scale) {
    if (surface != nullptr) cairo_surface_destroy(surface);
    painted = PaintDialog(dialog->State(), scale);
    surface = WrapImage(painted, scale);
    paintedScale = scale;
    paintStale = false;
  }

  GdkCursor* Hand() {
    const int scale = Scale();
    if (hand == nullptr || handScale != scale) {
      if (hand != nullptr) g_object_unref(hand);
      const Cursor cursor = HandCursor(scale);
      hand = SpriteCursor(display, cursor.picture, cursor.hotX, cursor.hotY, scale);
      handScale = scale;
    }
    return hand;
  }

  // The native control that `widget` belongs to.
  std::optional<DialogControl> NativeOwner(GtkWidget* widget) const {
    for (DialogControl control :
         {DialogControl::List_1, DialogControl::HS_CD, DialogControl::BGM_Repeat}) {
      GtkWidget* outer = widgets->Widget(control);
      if (widget == outer || gtk_widget_is_ancestor(widget, outer)) return control;
    }
    return std::nullopt;
  }

  void CursorsBelow(GdkWindow* parent) {
    GList* children = gdk_window_get_children(parent);
    for (GList* item = children; item != nullptr; item = item->next) {
      auto* child = static_cast<GdkWindow*>(item->data);
      gpointer owner = nullptr;
      gdk_window_get_user_data(child, &owner);
      std::optional<DialogControl> control =
          owner != nullptr ? NativeOwner(static_cast<GtkWidget*>(owner)) : std::nullopt;
      if (busy) {
        gdk_window_set_cursor(child, wait);
      } else if (control && EntryOf(*control).hand) {
        gdk_window_set_cursor(child, Hand());
      } else {
        gdk_window_set_cursor(child, nullptr);
      }
      CursorsBelow(child);
    }
    g_list_free(children);
  }

  // The pointer of every window of the dialog: the busy one over all of
  // it, or the hand over the native controls that take the mouse and over
  // the painted controls that do (as the pointer last moved).
  void ApplyCursors() {
    GdkWindow* base = PaintedWindow();
    if (closed || base == nullptr) return;
    gdk_window_set_cursor(gtk_widget_get_window(window), busy ? wait : nullptr);
    gdk_window_set_cursor(base, busy ? wait : handShown ? Hand() : nullptr);
    CursorsBelow(base);
  }

  static gboolean OnDraw(GtkWidget* widget, cairo_t* cr, State* s) {
    if (!s->Live()) return FALSE;
    const int scale = gtk_widget_get_scale_factor(widget);
    if (s->paintStale || scale != s->paintedScale) s->Repaint(scale);
    cairo_set_source_surface(cr, s->surface, 0, 0);
    cairo_paint(cr);
    GdkRectangle clip{};
    const bool clipped = gdk_cairo_get_clip_rectangle(cr, &clip) != FALSE;
    const Rect area{clip.x, clip.y, clip.width, clip.height};
    const DialogState& state = s->dialog->State();
    for (const ControlEntry& entry : DialogControls()) {
      if (!DrawsText(entry.role)) continue;
      const Rect rect = ClientRect(entry.id);
      if (clipped && Intersect(rect, area).Empty()) continue;
      DrawControlText(cr, entry, state[entry.id], rect, s->Font(entry.font));
    }
    // The native controls are drawn over it.
    return FALSE;
  }

  static gboolean OnPress(GtkWidget* widget, GdkEventButton* event, State* s) {
    // Presses on the native controls that they leave alone come here too:
    // only those on the painted area itself are the dialog's.
    if (!s->Live() || event->type != GDK_BUTTON_PRESS ||
        event->window != gtk_widget_get_window(widget) || event->button >= 32) {
      return FALSE;
    }
    s->pressed |= 1u << event->button;
    s->dialog->MouseDown(event->x, event->y);
    return TRUE;
  }

  static gboolean OnRelease(GtkWidget*, GdkEventButton* event, State* s) {
    if (!s->Live() || event->button >= 32 || (s->pressed & (1u << event->button)) == 0) {
      return FALSE;
    }
    s->pressed &= ~(1u << event->button);
    // Wherever the pointer is now: the press grabbed it.
    s->dialog->MouseUp();
    return TRUE;
  }

  // The presses end without their releases: the grab that would have
  // brought them was broken, the keyboard went to another window, or the
  // window was hidden. Nothing acts on a release that may still come.
  void CancelPress() {
    pressed = 0;
    if (Live()) dialog->PressCancelled();
  }
  static gboolean OnPressLost(GtkWidget*, GdkEvent*, State* s) {
    s->CancelPress();
    return FALSE;
  }
  static void OnHidden(GtkWidget*, State* s) { s->CancelPress(); }

  static gboolean OnMotion(GtkWidget* widget, GdkEventMotion* event, State* s) {
    if (!s->Live() || event->window != gtk_widget_get_window(widget)) return FALSE;
    const bool hand = s->dialog->HandAt(event->x, event->y);
    if (hand != s->handShown) {
      s->handShown = hand;
      if (!s->busy) gdk_window_set_cursor(event->window, hand ? s->Hand() : nullptr);
    }
    return FALSE;
  }

  static gboolean OnKey(GtkWidget*, GdkEventKey* event, State* s) {
    if (!s->Live() || event->keyval != GDK_KEY_Escape) return FALSE;
    s->dialog->CloseRequested();
    return TRUE;
  }

  static gboolean OnDelete(GtkWidget*, GdkEvent*, State* s) {
    if (s->Live()) s->dialog->CloseRequested();
    // The dialog closes the window itself, through Close.
    return TRUE;
  }

  static void OnScaleChanged(GtkWidget*, GParamSpec*, State* s) {
    s->paintStale = true;
    s->ApplyCursors();
  }

  // A text field sets its own pointer again whenever it is enabled or
  // disabled.
  static void OnEntryStateChanged(GtkWidget*, GtkStateFlags, State* s) { s->ApplyCursors(); }
};

GtkDialogView::GtkDialogView(std::unique_ptr<State> state) : state_(std::move(state)) {}

GtkDialogView::~GtkDialogView() = default;

std::unique_ptr<GtkDialogView> GtkDialogView::Create(const std::string& title) {
  // X11 first (through XWayland in a Wayland session): only there can
  // another copy find this window by its title, and draw the zoom.
  gdk_set_allowed_backends("x11,*");
  // Drawn with cairo alone: OpenGL would only cost start-up time.
  g_setenv("GDK_GL", "disable", FALSE);
  if (!gtk_init_check(nullptr, nullptr)) return nullptr;
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr) return nullptr;

  auto state = std::make_unique<State>();
  State& s = *state;
  s.display = display;
  const std::string desktopFont = DesktopFontName();
  for (DialogFont font :
       {DialogFont::Gothic, DialogFont::GothicUnderlined, DialogFont::DialogDefault}) {
    s.fonts[static_cast<std::size_t>(font)] = DialogFontDescription(font, desktopFont);
  }
  InstallStyle(gdk_display_get_default_screen(display),
               pango_font_description_get_family(s.Font(DialogFont::DialogDefault)));
  s.wait = gdk_cursor_new_from_name(display, "wait");

  s.window = gtk_window_new(GTK_WINDOW_TOPLEVEL);
  GtkWindow* window = GTK_WINDOW(s.window);
  gtk_window_set_title(window, title.c_str());
  // The client area is the dialog's size, and never larger: nothing lies
  // beyond it to uncover.
  gtk_window_set_resizable(window, FALSE);
  if (GdkPixbuf* icon = ImagePixbuf(WindowIcon())) {
    gtk_window_set_icon(window, icon);
    g_object_unref(icon);
  }
  g_signal_connect(s.window, "delete-event", G_CALLBACK(&State::OnDelete), &s);
  g_signal_connect(s.window, "key-press-event", G_CALLBACK(&State::OnKey), &s);
  g_signal_connect(s.window, "focus-out-event", G_CALLBACK(&State::OnPressLost), &s);
  // Hidden by the program, or by the window manager or another client.
  g_signal_connect(s.window, "unmap", G_CALLBACK(&State::OnHidden), &s);
  g_signal_connect(s.window, "unmap-event", G_CALLBACK(&State::OnPressLost), &s);

  // The painted area is the client area: a fixed container with a window
  // of its own, so that it takes the presses that its native controls
  // leave, and paints beneath them.
  s.fixed = gtk_fixed_new();
  gtk_widget_set_has_window(s.fixed, TRUE);
  gtk_widget_set_size_request(s.fixed, kDialogClientSize.width, kDialogClientSize.height);
  gtk_widget_add_events(s.fixed,
                        GDK_BUTTON_PRESS_MASK | GDK_BUTTON_RELEASE_MASK | GDK_POINTER_MOTION_MASK);
  g_signal_connect(s.fixed, "draw", G_CALLBACK(&State::OnDraw), &s);
  g_signal_connect(s.fixed, "button-press-event", G_CALLBACK(&State::OnPress), &s);
  g_signal_connect(s.fixed, "button-release-event", G_CALLBACK(&State::OnRelease), &s);
  g_signal_connect(s.fixed, "motion-notify-event", G_CALLBACK(&State::OnMotion), &s);
  g_signal_connect(s.fixed, "grab-broken-event", G_CALLBACK(&State::OnPressLost), &s);
  g_signal_connect(s.fixed, "notify::scale-factor", G_CALLBACK(&State::OnScaleChanged), &s);
  gtk_container_add(GTK_CONTAINER(s.window), s.fixed);

  State* self = &s;
  s.widgets = std::make_unique<DialogWidgets>(
      GTK_FIXED(s.fixed), NativeControlEvents{[self](int index) {
                                                if (self->Live()) self->dialog->ListSelected(index);
                                              },
                                              [self](int position) {
                                                if (self->Live())
                                                  self->dialog->ScrollMoved(position);
                                              },
                                              [self](const std::string& text) {
                                                if (self->Live())
                                                  self->dialog->RepeatTextEdited(text);
                                              }});
  g_signal_connect_after(s.widgets->RepeatEntry(), "state-flags-changed",
                         G_CALLBACK(&State::OnEntryStateChanged), &s);
  return std::unique_ptr<GtkDialogView>(new GtkDialogView(std::move(state)));
}

void GtkDialogView::Attach(SettingsDialog& dialog) { state_->dialog = &dialog; }

void GtkDialogView::Run() {
  State& s = *state_;
  if (s.closed) return;
  gtk_widget_show_all(s.window);
  s.ApplyCursors();
  while (!s.closed) gtk_main_iteration();
}

void GtkDialogView::Changed(DialogControl control) {
  State& s = *state_;
  if (!s.Live()) return;
  if (s.widgets->Show(control, s.dialog->State())) return;
  if (!DrawsText(EntryOf(control).role)) s.paintStale = true;
  const Rect rect = ClientRect(control);
  gtk_widget_queue_draw_area(s.fixed, rect.x, rect.y, rect.w, rect.h);
}

Rect GtkDialogView::PrimaryMonitor() {
  GdkDisplay* display = state_->display;
  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr && gdk_display_get_n_monitors(display) > 0) {
    monitor = gdk_display_get_monitor(display, 0);
  }
  if (monitor == nullptr) return {};
  GdkRectangle geometry{};
  gdk_monitor_get_geometry(monitor, &geometry);
  return {geometry.x, geometry.y, geometry.width, geometry.height};
}

void GtkDialogView::Place(const Rect& frame) {
  State& s = *state_;
  if (s.closed) return;
  s.placed = frame;
  gtk_window_move(GTK_WINDOW(s.window), frame.x, frame.y);
}

Rect GtkDialogView::WindowRect() {
  State& s = *state_;
  if (s.closed) return {};
  if (gtk_widget_get_mapped(s.window)) {
    GdkRectangle frame{};
    gdk_window_get_frame_extents(gtk_widget_get_window(s.window), &frame);
    return {frame.x, frame.y, frame.width, frame.height};
  }
  // Not on the screen yet: where it was placed.
  return s.placed.value_or(Rect{});
}

std::optional<ScreenPoint> GtkDialogView::PointerPosition() {
  GdkSeat* seat = gdk_display_get_default_seat(state_->display);
  GdkDevice* pointer = seat != nullptr ? gdk_seat_get_pointer(seat) : nullptr;
  if (pointer == nullptr) return std::nullopt;
  ScreenPoint point;
  gdk_device_get_position(pointer, nullptr, &point.x, &point.y);
  return point;
}

void GtkDialogView::AnimateZoom(const Rect& from, const Rect& to) {
  State& s = *state_;
  if (!GDK_IS_X11_DISPLAY(s.display) || WaylandSession()) return;
  // The root window counts device pixels.
  const int scale = s.Scale();
  auto device = [scale](const Rect& r) {
    return Rect{r.x * scale, r.y * scale, r.w * scale, r.h * scale};
  };
  gdk_x11_display_error_trap_push(s.display);
  AnimateX11Zoom(GDK_DISPLAY_XDISPLAY(s.display), ZoomSteps(device(from), device(to), kZoomSteps),
                 kZoomLineWidth * scale, kZoomStepMs);
  gdk_x11_display_error_trap_pop_ignored(s.display);
}

std::optional<std::string> GtkDialogView::ChooseFolder(const std::string& title) {
  if (state_->closed) return std::nullopt;
  return RunFolderChooser(GTK_WINDOW(state_->window), title);
}

std::optional<std::string> GtkDialogView::ChooseFile(const FileRequest& request) {
  if (state_->closed) return std::nullopt;
  return RunFileChooser(GTK_WINDOW(state_->window), request);
}

void GtkDialogView::OpenLink(const std::string& address) {
  if (state_->closed) return;
  ShowLink(GTK_WINDOW(state_->window), address);
}

void GtkDialogView::ShowMessage(const std::string& text) {
  State& s = *state_;
  RunMessage(s.closed ? nullptr : GTK_WINDOW(s.window), std::string(kMessageTitle), text);
}

void GtkDialogView::ProcessPendingEvents() {
  State& s = *state_;
  const gint64 now = g_get_monotonic_time();
  if (now - s.lastEventPass < kEventPassMicroseconds) return;
  s.lastEventPass = now;
  for (int i = 0; i < kEventsPerPass && gtk_events_pending(); ++i) gtk_main_iteration_do(FALSE);
}

void GtkDialogView::SetBusyPointer(bool busy) {
  State& s = *state_;
  if (s.busy == busy) return;
  s.busy = busy;
  s.ApplyCursors();
  // Shown before the slow work that follows.
  gdk_display_flush(s.display);
}

void GtkDialogView::Close() {
  State& s = *state_;
  if (s.closed) return;
  s.closed = true;
  gtk_widget_destroy(s.window);
  s.window = nullptr;
  s.fixed = nullptr;
  s.widgets.reset();
}

}  // namespace orvel
