#include "platform/linux/saver/x11_hack_host.h"

#include <X11/Xatom.h>
#include <X11/Xutil.h>
#include <cairo-xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>

#include "dialog/skin.h"
#include "platform/linux/saver/cairo_frame.h"
#include "platform/linux/saver/x11_frame_painter.h"
#include "platform/linux/saver/x11_snapshot.h"

namespace orvel {
namespace {

// A window of its own (-window) is of this size, as a hack's usually is.
constexpr int kOwnWindowWidth = 640;
constexpr int kOwnWindowHeight = 480;

// Written to by the signal handler, read by the wait: a signal wakes the
// program at once however long it would sleep.
int endPipe[2] = {-1, -1};
volatile sig_atomic_t endRequested = 0;

void OnEndSignal(int) {
  endRequested = 1;
  const char byte = 1;
  if (endPipe[1] >= 0) (void)!write(endPipe[1], &byte, 1);
}

// X errors come from a host's window that has gone: counted, never fatal
// (Xlib's own handler would end the program with the music playing).
int errorCount = 0;
int CountError(::Display*, XErrorEvent*) {
  ++errorCount;
  return 0;
}

}  // namespace

void EndHackOnSignals() {
  if (endPipe[0] < 0 && pipe2(endPipe, O_NONBLOCK | O_CLOEXEC) != 0) endPipe[0] = endPipe[1] = -1;
  struct sigaction action {};
  action.sa_handler = OnEndSignal;
  sigemptyset(&action.sa_mask);
  sigaction(SIGTERM, &action, nullptr);
  sigaction(SIGINT, &action, nullptr);
}

struct X11HackHost::State {
  Clock& clock;
  ::Display* display = nullptr;
  Window window = 0;
  bool ownWindow = false;
  Atom deleteWindow = None;
  XWindowAttributes attributes{};
  cairo_surface_t* target = nullptr;
  Frame shown;  // the last presented frame or the still, for exposures
  CairoFrame cairo;
  // Frames go through this where the window's visual takes their pixels.
  std::unique_ptr<X11FramePainter> painter;
  bool gone = false;  // the window went away, or was asked to close
  bool endHanded = false;
  bool closed = false;

  explicit State(Clock& c) : clock(c) {}

  ~State() {
    painter.reset();
    if (target != nullptr) cairo_surface_destroy(target);
    // A window of its own goes with the connection; the host's stays.
    if (display != nullptr) XCloseDisplay(display);
  }

  bool EndDue() const { return gone || endRequested != 0; }

  // Takes in what the server has sent: exposures repaint, the window's end
  // is noted. Each call reads from the connection once at least.
  void TakeEvents() {
    while (display != nullptr && XPending(display) > 0) {
      XEvent event;
      XNextEvent(display, &event);
      if (event.xany.window != window) continue;
      if (event.type == DestroyNotify) {
        gone = true;
      } else if (event.type == ClientMessage && ownWindow &&
                 static_cast<Atom>(event.xclient.data.l[0]) == deleteWindow) {
        gone = true;
      } else if (event.type == Expose) {
        const XExposeEvent& e = event.xexpose;
        Repaint(Rect{e.x, e.y, e.width, e.height});
      }
    }
  }

  // Black where there is no picture, then the last frame or still.
  void Repaint(const Rect& area) {
    if (gone || closed) return;
    cairo_t* cr = cairo_create(target);
    cairo_rectangle(cr, area.x, area.y, area.w, area.h);
    cairo_clip(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_set_source_rgb(cr, 0, 0, 0);
    cairo_paint(cr);
    cairo.Paint(cr, shown, area, [this] { XSync(display, False); });
    cairo_destroy(cr);
    // cairo may hold back what it drew; out to the server with it.
    cairo_surface_flush(target);
    XFlush(display);
  }

  // Sleeps until `monotonicMs`, an event from the server, or a signal.
  // True when the server has sent something to take in.
  bool Sleep(std::int64_t monotonicMs) {
    const std::int64_t remaining = monotonicMs - clock.MonotonicMs();
    // Events Xlib has already read in would not wake the poll.
    if (XEventsQueued(display, QueuedAlready) > 0) return true;
    if (remaining <= 0) return false;
    pollfd waits[2] = {{ConnectionNumber(display), POLLIN, 0}, {endPipe[0], POLLIN, 0}};
    poll(waits, endPipe[0] >= 0 ? 2 : 1, static_cast<int>(std::min<std::int64_t>(remaining, 1000)));
    if (endPipe[0] >= 0 && (waits[1].revents & POLLIN) != 0) {
      char bytes[16];
      while (read(endPipe[0], bytes, sizeof bytes) > 0) {
      }
    }
    return (waits[0].revents & POLLIN) != 0;
  }
};

std::unique_ptr<X11HackHost> X11HackHost::Create(const HackTarget& target, Clock& clock) {
  auto state = std::make_unique<State>(clock);
  State& s = *state;
  s.display = XOpenDisplay(nullptr);
  if (s.display == nullptr) {
    std::fprintf(stderr, "orvel: cannot open the display\n");
    return nullptr;
  }
  XSetErrorHandler(CountError);
  switch (target.kind) {
    case HackTarget::Kind::Root:
      s.window = DefaultRootWindow(s.display);
      break;
    case HackTarget::Kind::Window:
      s.window = target.window;
      break;
    case HackTarget::Kind::OwnWindow: {
      const int screen = DefaultScreen(s.display);
      s.window = XCreateSimpleWindow(s.display, RootWindow(s.display, screen), 0, 0,
                                     kOwnWindowWidth, kOwnWindowHeight, 0,
                                     BlackPixel(s.display, screen), BlackPixel(s.display, screen));
      s.ownWindow = true;
      XStoreName(s.display, s.window, "Orvel");
      s.deleteWindow = XInternAtom(s.display, "WM_DELETE_WINDOW", False);
      XSetWMProtocols(s.display, s.window, &s.deleteWindow, 1);
      XMapWindow(s.display, s.window);
      break;
    }
  }
  errorCount = 0;
  const bool known = XGetWindowAttributes(s.display, s.window, &s.attributes) != 0;
  XSync(s.display, False);
  if (!known || errorCount != 0) {
    std::fprintf(stderr, "orvel: there is no window 0x%lx\n", s.window);
    s.gone = true;  // nothing of it to destroy
    return nullptr;
  }
  XSelectInput(s.display, s.window, ExposureMask | StructureNotifyMask);
  s.target = cairo_xlib_surface_create(s.display, s.window, s.attributes.visual, s.attributes.width,
                                       s.attributes.height);
  if (X11FramePainter::Suits(s.display, s.attributes.visual, s.attributes.depth)) {
    s.painter = std::make_unique<X11FramePainter>(s.display, s.window, s.attributes.depth);
  }
  XSync(s.display, False);
  return std::unique_ptr<X11HackHost>(new X11HackHost(std::move(state)));
}

X11HackHost::X11HackHost(std::unique_ptr<State> state) : state_(std::move(state)) {}

X11HackHost::~X11HackHost() = default;

void X11HackHost::ShowStill() {
  State& s = *state_;
  const Image still = PreviewStill();
  s.shown = still;
  s.Repaint(Rect{0, 0, s.attributes.width, s.attributes.height});
  for (;;) {
    s.TakeEvents();
    if (s.EndDue()) break;
    s.Sleep(s.clock.MonotonicMs() + 1000);
  }
  s.shown = Frame();
}

int X11HackHost::ScreenWidth() { return state_->attributes.width; }
int X11HackHost::ScreenHeight() { return state_->attributes.height; }

bool X11HackHost::CaptureDesktop(Image& into) {
  State& s = *state_;
  const Atom property = XInternAtom(s.display, "_SCREENSAVER_SCREENSHOT", False);
  Atom type = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long after = 0;
  unsigned char* data = nullptr;
  Pixmap screenshot = None;
  if (XGetWindowProperty(s.display, s.window, property, 0, 1, False, XA_PIXMAP, &type, &format,
                         &count, &after, &data) == Success &&
      type == XA_PIXMAP && format == 32 && count == 1) {
    screenshot = static_cast<Pixmap>(*reinterpret_cast<unsigned long*>(data));
  }
  if (data != nullptr) XFree(data);
  if (screenshot == None) return false;

  // The screenshot is of the whole screen: the part under the window.
  errorCount = 0;
  Window root = 0;
  Window child = 0;
  int x = 0;
  int y = 0;
  int width = 0;
  int height = 0;
  unsigned int pixmapWidth = 0;
  unsigned int pixmapHeight = 0;
  unsigned int border = 0;
  unsigned int depth = 0;
  if (XGetGeometry(s.display, screenshot, &root, &x, &y, &pixmapWidth, &pixmapHeight, &border,
                   &depth) == 0 ||
      XTranslateCoordinates(s.display, s.window, root, 0, 0, &x, &y, &child) == 0) {
    return false;
  }
  x = std::max(x, 0);
  y = std::max(y, 0);
  width = std::min({into.Width(), s.attributes.width, static_cast<int>(pixmapWidth) - x});
  height = std::min({into.Height(), s.attributes.height, static_cast<int>(pixmapHeight) - y});
  if (width <= 0 || height <= 0) return false;
  const bool copied =
      CopyX11Area(s.display, screenshot, Rect{x, y, width, height}, into, s.attributes.visual);
  XSync(s.display, False);
  return copied && errorCount == 0;
}

void X11HackHost::Show() { XFlush(state_->display); }

void X11HackHost::Present(const Frame& frame, std::span<const Rect> changed) {
  State& s = *state_;
  s.shown = frame;
  if (s.gone || s.closed || frame.Empty()) return;
  if (s.painter) {
    s.painter->Put(frame, changed);
  } else {
    cairo_t* cr = cairo_create(s.target);
    for (const Rect& rect : changed) {
      s.cairo.Paint(cr, frame, rect, [&s] { XSync(s.display, False); });
    }
    cairo_destroy(cr);
    cairo_surface_flush(s.target);
    XFlush(s.display);
  }
}

void X11HackHost::ProcessInput(InputHandler& handler) {
  State& s = *state_;
  s.TakeEvents();
  if (s.EndDue() && !s.endHanded) {
    // The host's end takes the way a key does: music and devices go first.
    s.endHanded = true;
    handler.CloseRequested();
  }
}

void X11HackHost::WaitUntil(std::int64_t monotonicMs) {
  State& s = *state_;
  // Reads from the connection only when the server has sent something:
  // the next pass reads once anyway.
  while (s.clock.MonotonicMs() < monotonicMs && !s.EndDue()) {
    if (s.Sleep(monotonicMs)) s.TakeEvents();
  }
}

void X11HackHost::Close() {
  State& s = *state_;
  if (s.closed) return;
  s.closed = true;
  s.shown = Frame();
  s.painter.reset();
  if (s.ownWindow && !s.gone) {
    XDestroyWindow(s.display, s.window);
    s.gone = true;
  }
  XSync(s.display, False);
}

}  // namespace orvel
