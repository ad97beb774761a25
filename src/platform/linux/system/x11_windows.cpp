#include "platform/linux/system/x11_windows.h"
#include "settings/utf8.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <memory>
#include <optional>
#include <vector>

namespace orvel {
namespace {

// Titles longer than this (in 32-bit units) are read only so far.
constexpr long kMaxTitleLength = 4096;

// Windows can vanish between being listed and being asked for their title;
// the error that causes is expected and must not end the program.
int IgnoreError(::Display*, XErrorEvent*) { return 0; }

struct DisplayCloser {
  void operator()(::Display* display) const { XCloseDisplay(display); }
};

// One text property of the window as its raw bytes, whatever type it was
// stored with (some programs store UTF-8 titles as STRING); nullopt when it
// is missing or not text.
std::optional<std::string> TextProperty(::Display* display, Window window, Atom property) {
  Atom actualType = None;
  int format = 0;
  unsigned long count = 0;
  unsigned long remaining = 0;
  unsigned char* data = nullptr;
  if (XGetWindowProperty(display, window, property, 0, kMaxTitleLength, False, AnyPropertyType,
                         &actualType, &format, &count, &remaining, &data) != Success) {
    return std::nullopt;
  }
  std::optional<std::string> value;
  if (data != nullptr && actualType != None && format == 8) {
    value = std::string(reinterpret_cast<const char*>(data), count);
  }
  if (data != nullptr) XFree(data);
  return value;
}

std::string Latin1ToUtf8(const std::string& text) {
  std::string utf8;
  for (unsigned char c : text) AppendUtf8(utf8, c);
  return utf8;
}

// Whether WM_NAME, read as the title in UTF-8, is `title`: Latin-1 (STRING,
// though UTF-8 bytes stored as STRING count as well), UTF-8, or compound
// text as Xlib converts it.
bool WmNameIs(::Display* display, Window window, Atom utf8String, const std::string& title) {
  XTextProperty text{};
  if (XGetWMName(display, window, &text) == 0 || text.value == nullptr) return false;
  std::unique_ptr<unsigned char, int (*)(void*)> owned(text.value, XFree);
  const std::string raw(reinterpret_cast<const char*>(text.value), text.nitems);
  if (text.encoding == XA_STRING) return raw == title || Latin1ToUtf8(raw) == title;
  if (text.encoding == utf8String) return raw == title;
  char** list = nullptr;
  int count = 0;
  if (Xutf8TextPropertyToTextList(display, &text, &list, &count) < Success || list == nullptr) {
    return false;
  }
  const bool same = count > 0 && list[0] != nullptr && title == list[0];
  XFreeStringList(list);
  return same;
}

class TitleSearch {
 public:
  TitleSearch(::Display* display, const std::string& title)
      : display_(display),
        title_(title),
        netWmName_(XInternAtom(display, "_NET_WM_NAME", False)),
        utf8String_(XInternAtom(display, "UTF8_STRING", False)),
        clientList_(XInternAtom(display, "_NET_CLIENT_LIST", False)) {}

  bool InScreen(int screen) {
    const Window root = RootWindow(display_, screen);
    // A window manager lists the windows it manages, which are shown; one
    // not shown yet is still the root window's own child.
    const std::optional<std::vector<Window>> clients = ClientList(root);
    if (clients) {
      for (Window client : *clients) {
        if (Titled(client)) return true;
      }
    }
    for (Window child : Children(root)) {
      if (Titled(child)) return true;
      if (clients) continue;
      for (Window grandchild : Children(child)) {
        if (Titled(grandchild)) return true;
      }
    }
    return false;
  }

 private:
  bool Titled(Window window) {
    if (std::optional<std::string> name = TextProperty(display_, window, netWmName_)) {
      if (*name == title_) return true;
    }
    return WmNameIs(display_, window, utf8String_, title_);
  }

  // The window manager's list of the windows it manages; nullopt when there
  // is none.
  std::optional<std::vector<Window>> ClientList(Window root) {
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long remaining = 0;
    unsigned char* data = nullptr;
    if (XGetWindowProperty(display_, root, clientList_, 0, 1L << 20, False, XA_WINDOW, &type,
                           &format, &count, &remaining, &data) != Success) {
      return std::nullopt;
    }
    std::optional<std::vector<Window>> clients;
    if (data != nullptr && type == XA_WINDOW && format == 32) {
      // Xlib hands 32-bit items over as longs.
      const auto* items = reinterpret_cast<const unsigned long*>(data);
      clients.emplace(items, items + count);
    }
    if (data != nullptr) XFree(data);
    return clients;
  }

  std::vector<Window> Children(Window window) {
    Window root = None;
    Window parent = None;
    Window* children = nullptr;
    unsigned int count = 0;
    std::vector<Window> list;
    if (XQueryTree(display_, window, &root, &parent, &children, &count) != 0 &&
        children != nullptr) {
      list.assign(children, children + count);
    }
    if (children != nullptr) XFree(children);
    return list;
  }

  ::Display* display_;
  const std::string& title_;
  Atom netWmName_;
  Atom utf8String_;
  Atom clientList_;
};

}  // namespace

bool X11WindowExists(const std::string& title) {
  std::unique_ptr<::Display, DisplayCloser> display(XOpenDisplay(nullptr));
  if (!display) return false;
  XErrorHandler previous = XSetErrorHandler(IgnoreError);
  TitleSearch search(display.get(), title);
  bool found = false;
  for (int screen = 0; screen < ScreenCount(display.get()) && !found; ++screen) {
    found = search.InScreen(screen);
  }
  display.reset();
  XSetErrorHandler(previous);
  return found;
}

}  // namespace orvel
