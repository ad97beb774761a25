#!/usr/bin/env python3
"""How regularly the screen changes: watches the X DAMAGE reports of the
root window of $DISPLAY for SECONDS, takes reports less than 5 ms apart as
one frame, and prints the frames a second, the median and longest time
between frames, and how many frames came more than 1.5 periods late.

  usage: scripts/frame_times.py SECONDS [FRAMES_A_SECOND]   (default 30)
"""
import ctypes
import sys
import time

seconds = float(sys.argv[1])
period = 1000 / float(sys.argv[2]) if len(sys.argv) > 2 else 1000 / 30

xlib = ctypes.cdll.LoadLibrary("libX11.so.6")
damage = ctypes.cdll.LoadLibrary("libXdamage.so.1")
xlib.XOpenDisplay.restype = ctypes.c_void_p
xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
xlib.XDefaultRootWindow.restype = ctypes.c_ulong
xlib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
xlib.XPending.argtypes = [ctypes.c_void_p]
xlib.XNextEvent.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
xlib.XConnectionNumber.argtypes = [ctypes.c_void_p]
damage.XDamageQueryExtension.argtypes = [ctypes.c_void_p, ctypes.POINTER(ctypes.c_int),
                                         ctypes.POINTER(ctypes.c_int)]
damage.XDamageCreate.restype = ctypes.c_ulong
damage.XDamageCreate.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int]


class DamageNotify(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong), ("send_event", ctypes.c_int),
                ("display", ctypes.c_void_p), ("drawable", ctypes.c_ulong),
                ("damage", ctypes.c_ulong), ("level", ctypes.c_int), ("more", ctypes.c_int),
                ("timestamp", ctypes.c_ulong)]


display = xlib.XOpenDisplay(None)
if not display:
    sys.exit("cannot open the display")
event_base, error_base = ctypes.c_int(), ctypes.c_int()
if not damage.XDamageQueryExtension(display, ctypes.byref(event_base), ctypes.byref(error_base)):
    sys.exit("the X server has no DAMAGE extension")
XDamageReportRawRectangles = 0
damage.XDamageCreate(display, xlib.XDefaultRootWindow(display), XDamageReportRawRectangles)

event = ctypes.create_string_buffer(192)  # an XEvent
report = DamageNotify.from_buffer(event)
frames = []  # the server time of each frame's first report
end = time.monotonic() + seconds
while time.monotonic() < end:
    while xlib.XPending(display):
        xlib.XNextEvent(display, event)
        if report.type == event_base.value and (not frames or report.timestamp - frames[-1][1] >= 5):
            frames.append((report.timestamp, report.timestamp))
        elif report.type == event_base.value:
            frames[-1] = (frames[-1][0], report.timestamp)
    time.sleep(0.002)

gaps = sorted(b[0] - a[0] for a, b in zip(frames, frames[1:]))
if not gaps:
    sys.exit("no frames")
late = sum(gap > 1.5 * period for gap in gaps)
print("%d frames in %.0f s: %.1f a second; between frames median %d ms, longest %d ms; "
      "%d more than 1.5 periods late" % (len(frames), seconds, len(frames) / seconds,
                                         gaps[len(gaps) // 2], gaps[-1], late))
