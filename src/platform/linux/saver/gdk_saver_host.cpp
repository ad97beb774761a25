#include "platform/linux/saver/gdk_saver_host.h"

#include <gdk/gdkx.h>
#include <glib-unix.h>
#include <gtk/gtk.h>  // gtk_main_do_event only: GTK is never started here
#include <signal.h>

#include <algorithm>
#include <cstdlib>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/input_queue.h"
#include "platform/linux/saver/cairo_frame.h"
#include "platform/linux/saver/gdk_cover_windows.h"
#include "platform/linux/saver/gdk_input.h"
#include "platform/linux/saver/x11_frame_painter.h"
#include "platform/linux/saver/x11_snapshot.h"

namespace orvel {
namespace {

// How many event passes try to take the keyboard and the pointer before the
// window settles for the focus the window manager gives it.
constexpr int kGrabAttempts = 150;

void ToGtk(GdkEvent* event, gpointer) { gtk_main_do_event(event); }

bool WaylandSession() {
  const char* wayland = std::getenv("WAYLAND_DISPLAY");
  const char* session = std::getenv("XDG_SESSION_TYPE");
  return (wayland != nullptr && wayland[0] != '\0') ||
         (session != nullptr && std::string_view(session) == "wayland");
}

}  // namespace

struct GdkSaverHost::State {
  Clock& clock;
  std::function<bool()> pointerHidden;
  GdkDisplay* display = nullptr;
  GdkRectangle monitor{};
  int monitorIndex = 0;
  GdkWindow* window = nullptr;
  GdkCursor* blankCursor = nullptr;
  // The other monitors' black windows, and the handler that follows
  // monitors coming and going.
  std::unique_ptr<GdkCoverWindows> covers;
  gulong monitorsChanged = 0;

  // The last presented frame, for exposures. Frames go on the screen
  // through the painter where the display is X11 and the window's visual
  // takes their pixels, otherwise through cairo.
  Frame shown;
  CairoFrame cairo;
  std::unique_ptr<X11FramePainter> painter;
  // The main loop's descriptors for one wait, kept from wait to wait.
  std::vector<GPollFD> waitOn;
  // The last wait ran its full time and nothing came: the next pass has
  // nothing to look for.
  bool quiet = false;

  InputQueue input;
  std::vector<guint> signalSources;
  bool pointerIsHidden = false;
  bool grabbed = false;
  int grabAttempts = 0;
  bool closed = false;

  State(Clock& c, std::function<bool()> hidden) : clock(c), pointerHidden(std::move(hidden)) {}

  ~State() {
    // Events go where GTK wants them again, for a dialog made later in
    // the same process.
    gdk_event_handler_set(ToGtk, nullptr, nullptr);
    for (guint source : signalSources) g_source_remove(source);
    painter.reset();
    DropCovers();
    if (window != nullptr) gdk_window_destroy(window);
    if (blankCursor != nullptr) g_object_unref(blankCursor);
  }

  GdkWindow* Surface() const { return window; }

  void DropCovers() {
    if (monitorsChanged != 0) {
      g_signal_handler_disconnect(gdk_display_get_default_screen(display), monitorsChanged);
      monitorsChanged = 0;
    }
    covers.reset();
  }

  void UpdatePointer() {
    GdkWindow* surface = Surface();
    if (surface == nullptr) return;
    const bool hide = pointerHidden && pointerHidden();
    if (hide == pointerIsHidden) return;
    SetCursorNow(surface, hide ? blankCursor : nullptr);
    if (covers) covers->SetPointerHidden(hide);
    pointerIsHidden = hide;
  }

  // Keyboard and pointer go to the saver whatever window had the focus, as
  // with any screen locker; this works only once the window is viewable.
  void TryGrab() {
    if (grabbed || closed || grabAttempts >= kGrabAttempts) return;
    GdkWindow* surface = Surface();
    if (surface == nullptr || !gdk_window_is_viewable(surface)) return;
    ++grabAttempts;
    GdkSeat* seat = gdk_display_get_default_seat(display);
    grabbed =
        seat != nullptr && gdk_seat_grab(seat, surface, GDK_SEAT_CAPABILITY_ALL, FALSE, nullptr,
                                         nullptr, nullptr, nullptr) == GDK_GRAB_SUCCESS;
  }

  void Ungrab() {
    if (!grabbed) return;
    if (GdkSeat* seat = gdk_display_get_default_seat(display)) gdk_seat_ungrab(seat);
    grabbed = false;
  }

  // Black comes from the server wherever nothing is painted; the frame
  // goes on what was exposed of it.
  void Repaint(const GdkEventExpose& event) {
    if (shown.Empty()) return;
    if (painter) {
      for (int i = 0; i < cairo_region_num_rectangles(event.region); ++i) {
        cairo_rectangle_int_t area{};
        cairo_region_get_rectangle(event.region, i, &area);
        const Rect part{area.x, area.y, area.width, area.height};
        painter->Put(shown, std::span<const Rect>(&part, 1));
      }
      return;
    }
    GdkDrawingContext* context = gdk_window_begin_draw_frame(window, event.region);
    cairo_t* cr = gdk_drawing_context_get_cairo_context(context);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    Paint(cr, Rect{event.area.x, event.area.y, event.area.width, event.area.height});
    gdk_window_end_draw_frame(window, context);
  }

  // Paints the area from the frame through cairo, waiting for the server
  // between bands.
  void Paint(cairo_t* cr, const Rect& area) {
    cairo.Paint(cr, shown, area, [this] { gdk_display_sync(display); });
  }

  void Key(const GdkEventKey& event) {
    // The key without modifiers, for keys whose shifted value has no code.
    guint plain = 0;
    gdk_keymap_translate_keyboard_state(gdk_keymap_get_for_display(display), event.hardware_keycode,
                                        static_cast<GdkModifierType>(0), event.group, &plain,
                                        nullptr, nullptr, nullptr);
    InputEvent key{InputEvent::KeyDown};
    key.key = VirtualKeyForPress(event.keyval, plain);
    key.shift = ShiftValue(event.state);
    input.Push(key);
  }

  // Input on a cover counts as input on the saver window: pointer positions
  // are in the saver window's pixels (negative left of and above it), so
  // that a movement across monitors is one path.
  void Press(const GdkEventButton& event) {
    // A double click arrives as two presses and then once more as a double
    // click; only the presses count.
    if (event.type != GDK_BUTTON_PRESS) return;
    const std::optional<int> button = MouseButtonValue(event.button);
    if (!button) return;
    InputEvent press{InputEvent::MouseDown};
    press.button = *button;
    press.shift = ShiftValue(event.state);
    press.x = static_cast<float>(event.x_root - monitor.x);
    press.y = static_cast<float>(event.y_root - monitor.y);
    input.Push(press);
  }

  void Motion(const GdkEventMotion& event) {
    InputEvent move{InputEvent::MouseMove};
    move.button = HeldButtons(event.state);
    move.shift = ShiftValue(event.state);
    move.x = static_cast<float>(event.x_root - monitor.x);
    move.y = static_cast<float>(event.y_root - monitor.y);
    input.Push(move);
  }

  // Every event of the process comes here: GTK is not started.
  static void OnEvent(GdkEvent* event, gpointer data) {
    auto* self = static_cast<State*>(data);
    const GdkWindow* target = event->any.window;
    const bool saver = target != nullptr && target == self->window;
    if (!saver && !(target != nullptr && self->covers && self->covers->Holds(target))) return;
    switch (event->type) {
      case GDK_KEY_PRESS:
        self->Key(event->key);
        break;
      case GDK_BUTTON_PRESS:
        self->Press(event->button);
        break;
      case GDK_MOTION_NOTIFY:
        self->Motion(event->motion);
        break;
      case GDK_DELETE:
        // A cover's close does nothing.
        if (saver) self->AskToClose();
        break;
      case GDK_EXPOSE:
        if (saver) self->Repaint(event->expose);
        break;
      default:
        break;
    }
  }

  // A monitor came, went or moved: the covers follow, and the saver window
  // stays above any new one.
  static void OnMonitorsChanged(GdkScreen*, gpointer data) {
    auto* self = static_cast<State*>(data);
    if (!self->covers->Update()) return;
    GdkWindow* surface = self->Surface();
    if (surface != nullptr && gdk_window_is_visible(surface)) gdk_window_raise(surface);
  }

  // The window manager's close (or another program's, through it) and the
  // signals that ask a program to end go to the saver, which ends as on a
  // key; the window stays until the saver closes it.
  void AskToClose() {
    if (!closed) input.AskToClose();
  }

  static gboolean OnEndSignal(gpointer data) {
    static_cast<State*>(data)->AskToClose();
    return G_SOURCE_CONTINUE;
  }

  // One pass of the main loop that sleeps until `dueUs` (its monotonic
  // time) at the latest, or less where a source of the loop wants it:
  // the loop's own steps, with the wait's time set here rather than by a
  // timer source, which would cost a wake-up of its own each time it is
  // set. True when something was handled.
  bool WaitOnce(std::int64_t dueUs) {
    GMainContext* context = g_main_context_default();
    if (!g_main_context_acquire(context)) return g_main_context_iteration(context, TRUE);
    gint priority = 0;
    g_main_context_prepare(context, &priority);
    gint timeout = 0;
    gint count = 0;
    if (waitOn.empty()) waitOn.resize(8);
    while ((count = g_main_context_query(context, priority, &timeout, waitOn.data(),
                                         static_cast<gint>(waitOn.size()))) >
           static_cast<gint>(waitOn.size())) {
      waitOn.resize(static_cast<std::size_t>(count));
    }
    // In whole milliseconds, rounded up: a wait that ends early costs a
    // second one.
    const std::int64_t left =
        std::max<std::int64_t>(0, (dueUs - g_get_monotonic_time() + 999) / 1000);
    if (timeout < 0 || timeout > left)
      timeout = static_cast<gint>(std::min<std::int64_t>(left, 1000));
    g_poll(waitOn.data(), static_cast<guint>(count), timeout);
    const bool ready = g_main_context_check(context, priority, waitOn.data(), count);
    if (ready) g_main_context_dispatch(context);
    g_main_context_release(context);
    return ready;
  }
};

std::unique_ptr<GdkSaverHost> GdkSaverHost::Create(Clock& clock, const std::string& title,
                                                   std::function<bool()> pointerHidden) {
  // X11 first (through XWayland in a Wayland session): only there can a
  // second copy find this window by its title.
  gdk_set_allowed_backends("x11,*");
  // The window is painted with cairo alone. Without this GDK loads OpenGL to
  // choose its visuals: some 50 MB of libraries resident, most of it the
  // software renderer's compiler where there is no GPU driver. A GDK_GL the
  // user set stays as it is.
  g_setenv("GDK_GL", "disable", FALSE);
  if (!gdk_init_check(nullptr, nullptr)) return nullptr;
  GdkDisplay* display = gdk_display_get_default();
  if (display == nullptr) return nullptr;

  auto state = std::make_unique<State>(clock, std::move(pointerHidden));
  state->display = display;
  // One window pixel per screen pixel, whatever scale the desktop uses.
  if (GDK_IS_X11_DISPLAY(display)) gdk_x11_display_set_window_scale(display, 1);

  GdkMonitor* monitor = gdk_display_get_primary_monitor(display);
  if (monitor == nullptr && gdk_display_get_n_monitors(display) > 0) {
    monitor = gdk_display_get_monitor(display, 0);
  }
  if (monitor != nullptr) {
    gdk_monitor_get_geometry(monitor, &state->monitor);
    for (int i = 0; i < gdk_display_get_n_monitors(display); ++i) {
      if (gdk_display_get_monitor(display, i) == monitor) state->monitorIndex = i;
    }
  } else {
    GdkWindow* root = gdk_get_default_root_window();
    state->monitor = {0, 0, gdk_window_get_width(root), gdk_window_get_height(root)};
  }
  state->blankCursor = gdk_cursor_new_for_display(display, GDK_BLANK_CURSOR);
  return std::unique_ptr<GdkSaverHost>(new GdkSaverHost(std::move(state), title));
}

GdkSaverHost::GdkSaverHost(std::unique_ptr<State> state, const std::string& title)
    : state_(std::move(state)) {
  State& s = *state_;
  // Titled as it is made: the window is on the server, and a second copy
  // finds it, from here on.
  s.window =
      MakeScreenWindow(s.display, Rect{s.monitor.x, s.monitor.y, s.monitor.width, s.monitor.height},
                       s.monitorIndex, title.c_str());
  gdk_event_handler_set(State::OnEvent, &s, nullptr);
  GdkWindow* surface = s.Surface();
  if (GDK_IS_X11_WINDOW(surface)) {
    GdkVisual* visual = gdk_window_get_visual(surface);
    if (X11FramePainter::Suits(GDK_DISPLAY_XDISPLAY(s.display), gdk_x11_visual_get_xvisual(visual),
                               gdk_visual_get_depth(visual))) {
      s.painter = std::make_unique<X11FramePainter>(
          GDK_DISPLAY_XDISPLAY(s.display), GDK_WINDOW_XID(surface), gdk_visual_get_depth(visual));
    }
  }
  for (int number : {SIGTERM, SIGHUP, SIGINT}) {
    s.signalSources.push_back(g_unix_signal_add(number, State::OnEndSignal, &s));
  }
  // Out to the server at once, not with the first event pass.
  gdk_display_flush(s.display);

  const Rect area{s.monitor.x, s.monitor.y, s.monitor.width, s.monitor.height};
  s.covers = std::make_unique<GdkCoverWindows>(s.display, area, s.blankCursor);
  s.monitorsChanged =
      g_signal_connect(gdk_display_get_default_screen(s.display), "monitors-changed",
                       G_CALLBACK(State::OnMonitorsChanged), &s);
}

GdkSaverHost::~GdkSaverHost() = default;

int GdkSaverHost::ScreenWidth() { return state_->monitor.width; }
int GdkSaverHost::ScreenHeight() { return state_->monitor.height; }

bool GdkSaverHost::CaptureDesktop(Image& into) {
  State& s = *state_;
  if (!GDK_IS_X11_DISPLAY(s.display) || WaylandSession()) return false;
  const int width = std::min(into.Width(), s.monitor.width);
  const int height = std::min(into.Height(), s.monitor.height);
  // Read straight into the image: through GDK the screen would pass
  // through X shared memory, a cairo surface and a pixbuf on the way, and
  // the shared memory would stay with the program.
  gdk_x11_display_error_trap_push(s.display);
  const bool copied = CopyX11Area(GDK_DISPLAY_XDISPLAY(s.display), GDK_ROOT_WINDOW(),
                                  Rect{s.monitor.x, s.monitor.y, width, height}, into);
  return gdk_x11_display_error_trap_pop(s.display) == 0 && copied;
}

void GdkSaverHost::Show() {
  State& s = *state_;
  if (s.closed) return;
  s.UpdatePointer();
  // The covers first, so that the saver window is mapped above them.
  s.covers->Show();
  gdk_window_show(s.window);
  gdk_display_flush(s.display);
}

void GdkSaverHost::MakeTopMost() {
  State& s = *state_;
  if (s.closed) return;
  s.covers->KeepAbove();
  gdk_window_set_keep_above(s.window, TRUE);
  if (GdkWindow* surface = s.Surface()) gdk_window_raise(surface);
  gdk_display_flush(s.display);
}

void GdkSaverHost::Present(const Frame& frame, std::span<const Rect> changed) {
  State& s = *state_;
  if (s.closed) return;
  s.shown = frame;
  GdkWindow* surface = s.Surface();
  // Before the window is on the screen its first exposure paints it whole.
  if (frame.Empty() || surface == nullptr || !gdk_window_is_viewable(surface)) return;
  if (s.painter) {
    s.painter->Put(frame, changed);
    return;
  }
  const Rect bounds = frame.Bounds();
  for (const Rect& rect : changed) {
    const Rect part = Intersect(rect, bounds);
    if (part.Empty()) continue;
    // One rectangle at a time: a region of several makes the server redraw
    // the box around all of them.
    const cairo_rectangle_int_t area{part.x, part.y, part.w, part.h};
    cairo_region_t* region = cairo_region_create_rectangle(&area);
    GdkDrawingContext* context = gdk_window_begin_draw_frame(surface, region);
    s.Paint(gdk_drawing_context_get_cairo_context(context), part);
    gdk_window_end_draw_frame(surface, context);
    cairo_region_destroy(region);
  }
  gdk_display_flush(s.display);
}

void GdkSaverHost::ProcessInput(InputHandler& handler) {
  State& s = *state_;
  // After a wait that saw nothing, the loop has just been asked.
  while (!s.quiet && !s.closed && g_main_context_iteration(nullptr, FALSE)) {
  }
  s.quiet = false;
  if (s.closed) return;
  s.UpdatePointer();
  s.TryGrab();
  s.input.Deliver(handler, [&s] { return s.closed; });
}

void GdkSaverHost::WaitUntil(std::int64_t monotonicMs) {
  State& s = *state_;
  // Events that arrive meanwhile are taken in (and queued for the next pass)
  // as they come; otherwise the program sleeps in one wait until then.
  s.quiet = false;
  for (;;) {
    const std::int64_t remaining = monotonicMs - s.clock.MonotonicMs();
    if (remaining <= 0 || s.closed || s.input.CloseAsked()) return;
    s.quiet = !s.WaitOnce(g_get_monotonic_time() + remaining * 1000);
  }
}

void GdkSaverHost::Close() {
  State& s = *state_;
  if (s.closed) return;
  s.closed = true;
  s.input.Clear();
  s.Ungrab();
  s.shown = Frame();
  s.painter.reset();
  s.DropCovers();
  if (s.window != nullptr) {
    gdk_window_destroy(s.window);
    s.window = nullptr;
  }
  // Gone from the server before anything else asks for it by its title.
  gdk_display_sync(s.display);
}

unsigned long GdkSaverHost::XWindow() const {
  GdkWindow* surface = state_->Surface();
  return surface != nullptr && GDK_IS_X11_WINDOW(surface) ? GDK_WINDOW_XID(surface) : 0;
}

}  // namespace orvel
