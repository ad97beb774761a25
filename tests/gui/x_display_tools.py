#!/usr/bin/env python3
"""X and VNC tools for the multi-monitor GUI test:
  layout SOCKET WxH+X+Y...  the VNC server's monitors, asked for as a viewer does
  cursor-pixels             how many pixels of the pointer show (XFixes)
  grab SECONDS              holds the pointer and keyboard, as an open menu does
"""
import ctypes
import re
import socket
import struct
import sys
import time


def layout(path, monitors):
    """One screen per monitor (RFB 3.8, SetDesktopSize): each a RandR output."""
    areas = []
    for text in monitors:
        match = re.fullmatch(r"(\d+)x(\d+)\+(\d+)\+(\d+)", text)
        if not match:
            sys.exit(f"not WxH+X+Y: {text}")
        areas.append(tuple(int(v) for v in match.groups()))
    width = max(x + w for w, h, x, y in areas)
    height = max(y + h for w, h, x, y in areas)

    sock = socket.socket(socket.AF_UNIX, socket.SOCK_STREAM)
    sock.settimeout(10)
    sock.connect(path)

    def recv(count):
        data = b""
        while len(data) < count:
            chunk = sock.recv(count - len(data))
            if not chunk:
                sys.exit("the VNC server closed the connection")
            data += chunk
        return data

    recv(12)
    sock.sendall(b"RFB 003.008\n")
    types = recv(recv(1)[0])
    if 1 not in types:
        sys.exit("the VNC server asks for a password")
    sock.sendall(b"\x01")
    if struct.unpack(">I", recv(4))[0] != 0:
        sys.exit("the VNC server refused the connection")
    sock.sendall(b"\x01")  # shared
    recv(20)
    recv(struct.unpack(">I", recv(4))[0])  # the desktop's name
    # SetEncodings: the extended desktop size, then SetDesktopSize.
    sock.sendall(struct.pack(">BxHi", 2, 1, -308))
    message = struct.pack(">BxHHBx", 251, width, height, len(areas))
    for number, (w, h, x, y) in enumerate(areas, start=1):
        message += struct.pack(">IHHHHI", number, x, y, w, h, 0)
    sock.sendall(message)
    # The layout is in place with the next update.
    sock.sendall(struct.pack(">BBHHHH", 3, 1, 0, 0, 1, 1))
    sock.settimeout(5)
    try:
        recv(4)
    except socket.timeout:
        pass
    sock.close()


def open_display():
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XDefaultRootWindow.restype = ctypes.c_ulong
    xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("cannot open the display")
    return xlib, display


class CursorImage(ctypes.Structure):
    _fields_ = [("x", ctypes.c_short), ("y", ctypes.c_short), ("width", ctypes.c_ushort),
                ("height", ctypes.c_ushort), ("xhot", ctypes.c_ushort), ("yhot", ctypes.c_ushort),
                ("cursor_serial", ctypes.c_ulong), ("pixels", ctypes.POINTER(ctypes.c_ulong)),
                ("atom", ctypes.c_ulong), ("name", ctypes.c_char_p)]


def cursor_pixels():
    xlib, display = open_display()
    xfixes = ctypes.CDLL("libXfixes.so.3")
    xfixes.XFixesGetCursorImage.restype = ctypes.POINTER(CursorImage)
    xfixes.XFixesGetCursorImage.argtypes = [ctypes.c_void_p]
    image = xfixes.XFixesGetCursorImage(display)
    if not image:
        sys.exit("no cursor image")
    cursor = image.contents
    print(sum(1 for i in range(cursor.width * cursor.height) if cursor.pixels[i] >> 24 & 0xFF))


def grab(seconds):
    xlib, display = open_display()
    root = xlib.XDefaultRootWindow(display)
    xlib.XGrabPointer.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_uint,
                                  ctypes.c_int, ctypes.c_int, ctypes.c_ulong, ctypes.c_ulong,
                                  ctypes.c_ulong]
    xlib.XGrabKeyboard.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                   ctypes.c_int, ctypes.c_ulong]
    # GrabModeAsync is 1, GrabSuccess 0.
    if xlib.XGrabPointer(display, root, 0, 0, 1, 1, 0, 0, 0) != 0 or \
            xlib.XGrabKeyboard(display, root, 0, 1, 1, 0) != 0:
        sys.exit("cannot grab")
    xlib.XSync(ctypes.c_void_p(display), 0)
    print("grabbed", flush=True)
    time.sleep(seconds)


def main():
    if len(sys.argv) >= 4 and sys.argv[1] == "layout":
        layout(sys.argv[2], sys.argv[3:])
    elif sys.argv[1:] == ["cursor-pixels"]:
        cursor_pixels()
    elif len(sys.argv) == 3 and sys.argv[1] == "grab":
        grab(float(sys.argv[2]))
    else:
        sys.exit(__doc__)


if __name__ == "__main__":
    main()
