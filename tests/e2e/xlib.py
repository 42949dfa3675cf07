"""The two things the tests ask of the X server directly, through libX11:
the close request a window manager sends, and the screen's pixels.

Both run in this process on one connection, so a screenshot costs a few
milliseconds whatever the machine's load; polling screenshots can then
sample a one-second pause many times.
"""

import ctypes

from screen import Image

_x11 = ctypes.CDLL("libX11.so.6")
_x11.XOpenDisplay.restype = ctypes.c_void_p
_x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
_x11.XCloseDisplay.argtypes = [ctypes.c_void_p]
_x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
_x11.XDefaultRootWindow.restype = ctypes.c_ulong
_x11.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
_x11.XInternAtom.restype = ctypes.c_ulong
_x11.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]


class _ClientMessage(ctypes.Structure):
    _fields_ = [("type", ctypes.c_int), ("serial", ctypes.c_ulong),
                ("send_event", ctypes.c_int), ("display", ctypes.c_void_p),
                ("window", ctypes.c_ulong), ("message_type", ctypes.c_ulong),
                ("format", ctypes.c_int), ("data", ctypes.c_long * 5)]


class _Event(ctypes.Union):  # XEvent: every event is padded to 24 longs
    _fields_ = [("xclient", _ClientMessage), ("pad", ctypes.c_long * 24)]


class _Image(ctypes.Structure):  # the leading fields of XImage
    _fields_ = [("width", ctypes.c_int), ("height", ctypes.c_int),
                ("xoffset", ctypes.c_int), ("format", ctypes.c_int),
                ("data", ctypes.POINTER(ctypes.c_ubyte)), ("byte_order", ctypes.c_int),
                ("bitmap_unit", ctypes.c_int), ("bitmap_bit_order", ctypes.c_int),
                ("bitmap_pad", ctypes.c_int), ("depth", ctypes.c_int),
                ("bytes_per_line", ctypes.c_int), ("bits_per_pixel", ctypes.c_int),
                ("red_mask", ctypes.c_ulong), ("green_mask", ctypes.c_ulong),
                ("blue_mask", ctypes.c_ulong)]


_x11.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long,
                            ctypes.POINTER(_Event)]
_x11.XGetImage.restype = ctypes.POINTER(_Image)
_x11.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                           ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
_x11.XDestroyImage.argtypes = [ctypes.POINTER(_Image)]

_CLIENT_MESSAGE, _Z_PIXMAP, _ALL_PLANES, _LSB_FIRST = 33, 2, 0xFFFFFFFF, 0

# Xlib's default error handler ends the process; a request about a window
# that is already gone must only fail.
_errors = []
_on_error = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)(
    lambda display, event: _errors.append(event) or 0)
_x11.XSetErrorHandler(_on_error)


class Display:
    def __init__(self, name):
        self._dpy = _x11.XOpenDisplay(name.encode())
        if not self._dpy:
            raise RuntimeError(f"cannot open display {name}")

    def close(self):
        _x11.XCloseDisplay(self._dpy)

    def send_delete_window(self, window):
        event = _Event()
        message = event.xclient
        message.type = _CLIENT_MESSAGE
        message.window = window
        message.message_type = _x11.XInternAtom(self._dpy, b"WM_PROTOCOLS", 0)
        message.format = 32
        message.data[0] = _x11.XInternAtom(self._dpy, b"WM_DELETE_WINDOW", 0)
        message.data[1] = 0  # CurrentTime
        _errors.clear()
        _x11.XSendEvent(self._dpy, window, 0, 0, ctypes.byref(event))
        _x11.XSync(self._dpy, 0)
        if _errors:
            raise RuntimeError(f"no window {window} to close")

    def grab(self, x, y, width, height):
        """The root window's pixels in a rectangle: what the screen shows there."""
        root = _x11.XDefaultRootWindow(self._dpy)
        image = _x11.XGetImage(self._dpy, root, x, y, width, height, _ALL_PLANES, _Z_PIXMAP)
        if not image:
            raise RuntimeError(f"cannot read the screen at {width}x{height}+{x}+{y}")
        try:
            im = image.contents
            if (im.bits_per_pixel, im.byte_order, im.red_mask) != (32, _LSB_FIRST, 0xFF0000):
                raise RuntimeError("expected a 24-bit screen stored as B, G, R, unused")
            stride = im.bytes_per_line
            raw = ctypes.string_at(im.data, stride * height)
        finally:
            _x11.XDestroyImage(image)
        rows = b"".join(raw[stride * row:stride * row + 4 * width] for row in range(height))
        rgb = bytearray(3 * width * height)
        rgb[0::3], rgb[1::3], rgb[2::3] = rows[2::4], rows[1::4], rows[0::4]
        return Image(width, height, bytes(rgb))
