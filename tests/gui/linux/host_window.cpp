// orvel_host_window WIDTH HEIGHT: a screen-saver host's black window at the screen's top
// left for the hack's GUI test; prints its id ("0x...") and keeps it until it is ended.
#include <X11/Xlib.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fputs("usage: orvel_host_window WIDTH HEIGHT\n", stderr);
    return 2;
  }
  const int width = std::atoi(argv[1]);
  const int height = std::atoi(argv[2]);
  Display* display = XOpenDisplay(nullptr);
  if (display == nullptr || width <= 0 || height <= 0) return 1;
  const int screen = DefaultScreen(display);
  XSetWindowAttributes attributes{};
  attributes.override_redirect = True;
  attributes.background_pixel = BlackPixel(display, screen);
  const Window window =
      XCreateWindow(display, RootWindow(display, screen), 0, 0, static_cast<unsigned>(width),
                    static_cast<unsigned>(height), 0, CopyFromParent, InputOutput, CopyFromParent,
                    CWOverrideRedirect | CWBackPixel, &attributes);
  XStoreName(display, window, "orvel test: host window");
  XMapRaised(display, window);
  XSync(display, False);
  std::printf("0x%lx\n", window);
  std::fflush(stdout);
  for (;;) pause();
}
