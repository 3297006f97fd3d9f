#!/usr/bin/env python3
"""Asks a window to close, as a window manager does when its close button is clicked: a
WM_PROTOCOLS client message carrying WM_DELETE_WINDOW. The virtual display of the tests has no
window manager, so this stands in for the click. Usage: close_window.py <window id>"""
import ctypes
import sys

x11 = ctypes.CDLL("libX11.so.6")
x11.XOpenDisplay.restype = ctypes.c_void_p
display = ctypes.c_void_p(x11.XOpenDisplay(None))
window = ctypes.c_ulong(int(sys.argv[1], 0))
# An XClientMessageEvent: type, serial, send_event, display, window, message_type, format and
# five longs of data, padded to the size of any X event.
event = (ctypes.c_long * 24)()
event[0] = 33  # ClientMessage
event[3], event[4] = display.value, window.value
event[5] = x11.XInternAtom(display, b"WM_PROTOCOLS", 0)
event[6] = 32
event[7] = x11.XInternAtom(display, b"WM_DELETE_WINDOW", 0)
x11.XSendEvent(display, window, 0, 0, event)
x11.XCloseDisplay(display)  # sends the event on its way
