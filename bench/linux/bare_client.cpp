// The least that drawing like the saver costs on X11, the client and the
// server: 30 times a second, ten put-images of 50 x 46 pixels (an orb's
// square and its move) from shared memory at random places, one flush,
// then a poll on the connection until the next frame. Nothing is composed
// or drawn. Run by scripts/compare-peer.sh beside Orvel and distort: what
// Orvel costs above this is its own work.
//   usage: orvel_bare_client [PUTS [WIDTH HEIGHT]]
#include <poll.h>
#include <sys/mman.h>
#include <unistd.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <random>

int main(int argc, char** argv) {
  const int puts = argc > 1 ? std::atoi(argv[1]) : 10;
  const int width = argc > 3 ? std::atoi(argv[2]) : 50;
  const int height = argc > 3 ? std::atoi(argv[3]) : 46;
  xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
  if (xcb_connection_has_error(connection) != 0 || puts < 0 || width <= 0 || height <= 0) {
    std::fprintf(stderr, "usage: orvel_bare_client [PUTS [WIDTH HEIGHT]], with a display\n");
    return 2;
  }
  const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
  const xcb_window_t window = xcb_generate_id(connection);
  const std::uint32_t values[] = {0, 1};  // black, override-redirect
  xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0,
                    screen->width_in_pixels, screen->height_in_pixels, 0,
                    XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
                    XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
  xcb_map_window(connection, window);
  const xcb_gcontext_t gc = xcb_generate_id(connection);
  xcb_create_gc(connection, gc, window, 0, nullptr);

  const std::size_t bytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4;
  // Only the server maps it: what the squares hold does not matter here.
  const int file = memfd_create("orvel-bare-client", MFD_CLOEXEC);
  if (file < 0 || ftruncate(file, static_cast<off_t>(bytes)) != 0) {
    std::perror("orvel_bare_client: shared memory");
    return 1;
  }
  const xcb_shm_seg_t segment = xcb_generate_id(connection);
  xcb_generic_error_t* error =
      xcb_request_check(connection, xcb_shm_attach_fd_checked(connection, segment, file, 1));
  if (error != nullptr) {
    std::fprintf(stderr, "orvel_bare_client: the server shares no memory\n");
    return 1;
  }

  std::minstd_rand random(42);
  const int spanX = std::max(1, screen->width_in_pixels - width);
  const int spanY = std::max(1, screen->height_in_pixels - height);
  const auto period = std::chrono::microseconds(33333);
  auto due = std::chrono::steady_clock::now();
  for (;;) {
    due += period;
    for (int i = 0; i < puts; ++i) {
      xcb_shm_put_image(connection, window, gc, static_cast<std::uint16_t>(width),
                        static_cast<std::uint16_t>(height), 0, 0, static_cast<std::uint16_t>(width),
                        static_cast<std::uint16_t>(height),
                        static_cast<std::int16_t>(random() % static_cast<unsigned>(spanX)),
                        static_cast<std::int16_t>(random() % static_cast<unsigned>(spanY)),
                        screen->root_depth, XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment, 0);
    }
    xcb_flush(connection);
    while (xcb_generic_event_t* event = xcb_poll_for_event(connection)) std::free(event);
    if (xcb_connection_has_error(connection) != 0) return 0;
    const auto left =
        std::chrono::ceil<std::chrono::milliseconds>(due - std::chrono::steady_clock::now());
    if (left.count() > 0) {
      pollfd wait{xcb_get_file_descriptor(connection), POLLIN, 0};
      poll(&wait, 1, static_cast<int>(left.count()));
    }
  }
}
