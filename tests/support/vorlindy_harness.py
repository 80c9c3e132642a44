"""Black-box helpers for driving the Vorlindy program on a real X display.

Everything here talks to the program only from the outside: a loopback web
server that counts the pages the browser pane fetches, the process itself,
the X server (xdotool, xwininfo, xprop, xwd) and the probe log that the test
build of the program writes. Python standard library only.
"""

import contextlib
import ctypes
import ctypes.util
import http.server
import os
import re
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time
import unittest

# ---------------------------------------------------------------------------
# Waiting


class Timeout(AssertionError):
    pass


def wait_until(predicate, timeout, interval=0.05, what="condition"):
    """Polls predicate until it returns a truthy value, which is returned.

    Raises Timeout after timeout seconds; the predicate is always tried once
    more at the deadline so a slow poll cannot lose a result that arrived.
    """
    deadline = time.monotonic() + timeout
    while True:
        result = predicate()
        if result:
            return result
        if time.monotonic() >= deadline:
            raise Timeout(f"timed out after {timeout:.1f} s waiting for {what}")
        time.sleep(min(interval, max(0.0, deadline - time.monotonic())))


# ---------------------------------------------------------------------------
# Loopback web server


PLAIN_PAGE = "<!doctype html><html><head><title>{path}</title></head><body>{path}</body></html>"


class Page:
    """What the server answers for one path: a body and an optional delay."""

    def __init__(self, body, delay=0.0, status=200):
        self.body = body
        self.delay = delay
        self.status = status


def script_page(script):
    """A page that runs script as soon as it is parsed."""
    return Page(f"<!doctype html><html><body><p>dialog</p><script>{script}</script></body></html>")


class PageServer:
    """Serves tiny HTML pages on 127.0.0.1 and records every GET per path.

    Each request is recorded with time.monotonic_ns() when its request line
    has been read, before any configured delay, so a slow page is counted
    when the browser asks for it, not when it is answered. Paths are counted
    without their query string.
    """

    def __init__(self):
        self._lock = threading.Condition()
        self._requests = {}  # path -> [monotonic_ns, ...]
        self._pages = {}
        self._closing = threading.Event()
        server = self

        class Handler(http.server.BaseHTTPRequestHandler):
            protocol_version = "HTTP/1.0"

            def do_GET(self):
                path = self.path.split("?", 1)[0]
                server._record(path)
                page = server._pages.get(path) or Page(PLAIN_PAGE.format(path=path))
                if page.delay and server._closing.wait(page.delay):
                    return
                body = page.body.encode("utf-8")
                try:
                    self.send_response(page.status)
                    self.send_header("Content-Type", "text/html; charset=utf-8")
                    self.send_header("Cache-Control", "no-store")
                    self.send_header("Content-Length", str(len(body)))
                    self.end_headers()
                    self.wfile.write(body)
                except (BrokenPipeError, ConnectionResetError):
                    pass  # the browser cancelled this load for a newer one

            def log_message(self, *args):
                pass

        self._httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Handler)
        self._httpd.daemon_threads = True
        self._thread = threading.Thread(target=self._httpd.serve_forever, daemon=True)
        self._thread.start()

    @property
    def port(self):
        return self._httpd.server_address[1]

    def url(self, path):
        return f"http://127.0.0.1:{self.port}{path}"

    def set_page(self, path, page):
        self._pages[path] = page

    def _record(self, path):
        with self._lock:
            self._requests.setdefault(path, []).append(time.monotonic_ns())
            self._lock.notify_all()

    def times(self, path):
        """Monotonic ns time stamps of the requests for path so far."""
        with self._lock:
            return list(self._requests.get(path, ()))

    def count(self, path):
        return len(self.times(path))

    def paths(self):
        with self._lock:
            return {p: len(t) for p, t in self._requests.items()}

    def wait_for_count(self, path, n, timeout):
        """Waits until path has been requested at least n times; returns the time stamps."""
        deadline = time.monotonic() + timeout
        with self._lock:
            while len(self._requests.get(path, ())) < n:
                left = deadline - time.monotonic()
                if left <= 0:
                    got = len(self._requests.get(path, ()))
                    raise Timeout(f"{path} requested {got} times, wanted {n} within {timeout:.1f} s")
                self._lock.wait(left)
            return list(self._requests[path])

    def close(self):
        self._closing.set()
        self._httpd.shutdown()
        self._httpd.server_close()

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        self.close()


def count_between(times_ns, start_ns, end_ns):
    return sum(1 for t in times_ns if start_ns <= t < end_ns)


# ---------------------------------------------------------------------------
# Build layout and command line


def binaries(build_dir):
    """Paths of the product binary and of the two test variants in a build tree."""
    return {
        "product": os.path.join(build_dir, "vorlindy"),
        "probed": os.path.join(build_dir, "tests", "app", "vorlindy-probed"),
        "broken-design": os.path.join(build_dir, "tests", "app", "vorlindy-broken-design"),
    }


_BUILD_DIR = None


def build_dir():
    if _BUILD_DIR is None:
        raise RuntimeError("run the test file with --build <build directory>")
    return _BUILD_DIR


def binary(kind):
    """The binary of the given kind; fails the calling test when it was not built."""
    path = binaries(build_dir())[kind]
    if not os.access(path, os.X_OK):
        raise AssertionError(f"program not built: {path}")
    return path


def main():
    """Entry point of a GUI test file: `python3 file.py --build DIR [unittest args]`."""
    global _BUILD_DIR
    argv = list(sys.argv)
    if "--build" in argv:
        i = argv.index("--build")
        if i + 1 >= len(argv):
            sys.exit("--build needs a directory")
        _BUILD_DIR = os.path.abspath(argv[i + 1])
        del argv[i : i + 2]
    else:
        sys.exit("usage: %s --build <build directory> [unittest options]" % argv[0])
    unittest.main(argv=argv, verbosity=2)


# ---------------------------------------------------------------------------
# The program


ASSERTION_MARK = "wx assertion:"

# An ALSA set-up whose default device swallows everything, so that the music
# path runs without a sound card and without alsa-lib complaining on stderr.
NULL_SOUND_CONF = "pcm.!default { type null }\n"


def read_probe_log(path):
    """Probe log lines as (microseconds, event, argument) tuples.

    Events are the first word after the time stamp except for two-word
    events ("handler OnStartClicked"), which keep their second word as the
    argument. A missing log reads as empty.
    """
    events = []
    try:
        with open(path, encoding="utf-8", errors="replace") as f:
            lines = f.read().splitlines()
    except FileNotFoundError:
        return events
    for line in lines:
        parts = line.split(" ", 2)
        if len(parts) < 2 or not parts[0].isdigit():
            continue
        events.append((int(parts[0]), parts[1], parts[2] if len(parts) > 2 else ""))
    return events


class Program:
    """One running copy of the program; use it as a context manager.

    Leaving the context always ends the process (SIGKILL to its process
    group if it is still running) and reaps it, so no copy outlives a test.
    """

    def __init__(self, path, probe=True, cwd=None, sound="null", extra_env=None):
        self.path = path
        self._dir = tempfile.mkdtemp(prefix="vorlindy-run-")
        self.probe_path = os.path.join(self._dir, "probe.log") if probe else None
        self.stderr_path = os.path.join(self._dir, "stderr.txt")
        home = os.path.join(self._dir, "home")
        os.mkdir(home)
        display = os.environ.get("DISPLAY")
        if not display:
            raise AssertionError("DISPLAY is not set: the GUI tests need an X server")
        env = {
            "DISPLAY": display,
            "GDK_BACKEND": "x11",
            "NO_AT_BRIDGE": "1",
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "HOME": home,  # a fresh web-engine cache and data store per run
            "LANG": "C.UTF-8",
        }
        if self.probe_path:
            env["VORLINDY_PROBE_LOG"] = self.probe_path
        if sound == "null":
            conf = os.path.join(self._dir, "asound.conf")
            with open(conf, "w") as f:
                f.write(NULL_SOUND_CONF)
            env["ALSA_CONFIG_PATH"] = "/usr/share/alsa/alsa.conf:" + conf
        env.update(extra_env or {})
        self._stderr = open(self.stderr_path, "wb")
        self.started_ns = time.monotonic_ns()
        self.process = subprocess.Popen(
            [path],
            cwd=cwd or self._dir,
            env=env,
            stdin=subprocess.DEVNULL,
            stdout=subprocess.DEVNULL,
            stderr=self._stderr,
            start_new_session=True,
        )
        self.pid = self.process.pid

    # -- process -----------------------------------------------------------

    def running(self):
        return self.process.poll() is None

    def wait_exit(self, timeout):
        """Exit status once the process has ended; Timeout if it keeps running."""
        try:
            return self.process.wait(timeout)
        except subprocess.TimeoutExpired:
            raise Timeout(f"the program did not exit within {timeout:.1f} s") from None

    def stderr_text(self):
        self._stderr.flush()
        with open(self.stderr_path, encoding="utf-8", errors="replace") as f:
            return f.read()

    def assertions(self):
        return [l for l in self.stderr_text().splitlines() if l.startswith(ASSERTION_MARK)]

    def probe(self):
        if not self.probe_path:
            raise AssertionError("this copy was started without a probe log")
        return read_probe_log(self.probe_path)

    def probe_events(self, event, argument=None):
        return [e for e in self.probe() if e[1] == event and (argument is None or e[2] == argument)]

    def wait_probe(self, event, argument=None, count=1, timeout=5.0):
        """Waits for count probe lines of event (and argument); returns them."""
        def enough():
            found = self.probe_events(event, argument)
            return found if len(found) >= count else None

        return wait_until(enough, timeout, what=f"{count} x probe line '{event} {argument or ''}'".strip())

    def kill(self):
        if self.process.poll() is None:
            with contextlib.suppress(ProcessLookupError):
                os.killpg(self.pid, signal.SIGKILL)
            self.process.wait(10)
        # The web engine's helper processes share the process group; end any
        # that did not follow the program out.
        with contextlib.suppress(ProcessLookupError, PermissionError):
            os.killpg(self.pid, signal.SIGKILL)

    def close_files(self):
        self._stderr.close()
        shutil.rmtree(self._dir, ignore_errors=True)

    # -- windows -----------------------------------------------------------

    def windows(self, name="^Vorlindy$"):
        return find_windows(pid=self.pid, name=name)

    def wait_window(self, timeout=10.0, name="^Vorlindy$", exclude=()):
        """The first visible window of this process with the given title."""

        def found():
            if not self.running():
                raise AssertionError(
                    f"the program exited with status {self.process.returncode} before showing a window\n"
                    + self.stderr_text()
                )
            ws = [w for w in self.windows(name) if w not in exclude]
            return ws[0] if ws else None

        return wait_until(found, timeout, interval=0.1, what="the program's window")

    def __enter__(self):
        return self

    def __exit__(self, *exc):
        try:
            self.kill()
        finally:
            self.close_files()


# ---------------------------------------------------------------------------
# X helpers


def _run(args, timeout=5.0, check=True):
    try:
        done = subprocess.run(args, capture_output=True, text=True, timeout=timeout)
    except subprocess.TimeoutExpired:
        raise Timeout(f"{args[0]} did not answer within {timeout:.1f} s: {' '.join(args)}") from None
    if check and done.returncode != 0:
        raise RuntimeError(f"{' '.join(args)} failed ({done.returncode}): {done.stderr.strip()}")
    return done


def find_windows(pid=None, name=None, class_name=None):
    """Visible windows matching all the given criteria (xdotool search, no --sync)."""
    # --all: xdotool otherwise takes any one criterion as a match.
    args = ["xdotool", "search", "--all", "--onlyvisible"]
    if pid is not None:
        args += ["--pid", str(pid)]
    if name is not None:
        args += ["--name", name]
    if class_name is not None:
        args += ["--class", class_name]
    if name is None and class_name is None:
        args += ["--name", ""]
    # A window destroyed while xdotool walks the tree makes it fail with an X
    # error and print nothing; walk again.
    for _ in range(10):
        done = _run(args, check=False)
        if "X Error" not in done.stderr:
            break
        time.sleep(0.05)
    else:
        raise RuntimeError(f"{' '.join(args)} keeps failing: {done.stderr.strip()}")
    return [int(w) for w in done.stdout.split()]


def top_level_windows():
    """Children of the root window that are mapped: the frames and any override-redirect windows."""
    out = _run(["xwininfo", "-root", "-children"]).stdout
    ids = []
    for line in out.splitlines():
        m = re.match(r"\s+(0x[0-9a-f]+) ", line)
        if m and _is_viewable(int(m.group(1), 16)):
            ids.append(int(m.group(1), 16))
    return ids


def _is_viewable(window):
    done = _run(["xwininfo", "-id", str(window)], check=False)
    return "IsViewable" in done.stdout


class Rect:
    def __init__(self, x, y, width, height):
        self.x, self.y, self.width, self.height = x, y, width, height

    def __eq__(self, other):
        return (self.x, self.y, self.width, self.height) == (other.x, other.y, other.width, other.height)

    def __repr__(self):
        return f"Rect({self.x}, {self.y}, {self.width}, {self.height})"

    def offset(self, dx, dy):
        return Rect(self.x + dx, self.y + dy, self.width, self.height)


def _wininfo(window):
    out = _run(["xwininfo", "-id", str(window)]).stdout

    def field(label):
        m = re.search(r"^\s*" + re.escape(label) + r":\s+(-?\d+)", out, re.M)
        if not m:
            raise RuntimeError(f"xwininfo gave no '{label}' for window {window}")
        return int(m.group(1))

    return Rect(
        field("Absolute upper-left X"), field("Absolute upper-left Y"), field("Width"), field("Height")
    ), field("Border width")


def client_rect(window):
    """The window's own (client) rectangle in screen coordinates."""
    return _wininfo(window)[0]


def parent_window(window):
    out = _run(["xwininfo", "-id", str(window), "-tree"]).stdout
    m = re.search(r"Parent window id: (0x[0-9a-f]+)", out)
    return int(m.group(1), 16)


def root_window():
    out = _run(["xwininfo", "-root"]).stdout
    return int(re.search(r"Window id: (0x[0-9a-f]+)", out).group(1), 16)


def frame_window(window):
    """The window manager's frame: the ancestor that is a child of the root."""
    root = root_window()
    current = window
    while True:
        parent = parent_window(current)
        if parent == root:
            return current
        current = parent


def outer_rect(window):
    """Outer rectangle (frame and title bar included) in screen coordinates."""
    frame = frame_window(window)
    rect, border = _wininfo(frame)
    return Rect(rect.x - border, rect.y - border, rect.width + 2 * border, rect.height + 2 * border)


def window_name(window):
    return _run(["xdotool", "getwindowname", str(window)]).stdout.rstrip("\n")


def xprop(window, prop):
    """Raw value text of one property, or None when the window does not have it."""
    out = _run(["xprop", "-id", str(window), prop], check=False).stdout.strip()
    if "not found" in out or "no such atom" in out or "=" not in out and ":" not in out:
        return None
    sep = "=" if "=" in out else ":"
    return out.split(sep, 1)[1].strip()


def xprop_atoms(window, prop):
    value = xprop(window, prop)
    return [] if not value else [a.strip() for a in value.split(",") if a.strip()]


def xprop_cardinals(window, prop):
    value = xprop(window, prop)
    return [] if not value else [int(v.strip(), 0) for v in value.split(",") if v.strip()]


MWM_HINTS_FUNCTIONS = 1
MWM_HINTS_DECORATIONS = 2
MWM_FUNC = {"all": 1, "resize": 2, "move": 4, "minimize": 8, "maximize": 16, "close": 32}
MWM_DECOR = {"all": 1, "border": 2, "resizeh": 4, "title": 8, "menu": 16, "minimize": 32, "maximize": 64}


def motif_hints(window):
    """(functions, decorations) of _MOTIF_WM_HINTS as sets of names; None for a field not given."""
    values = xprop_cardinals(window, "_MOTIF_WM_HINTS")
    if not values:
        return None, None

    def names(bits, table):
        # With the "all" bit set, the other bits name what is taken away.
        if bits & table["all"]:
            return {n for n, b in table.items() if n != "all" and not bits & b}
        return {n for n, b in table.items() if n != "all" and bits & b}

    flags = values[0]
    functions = names(values[1], MWM_FUNC) if flags & MWM_HINTS_FUNCTIONS else None
    decorations = names(values[2], MWM_DECOR) if flags & MWM_HINTS_DECORATIONS else None
    return functions, decorations


def window_manager_running():
    out = _run(["xprop", "-root", "_NET_SUPPORTING_WM_CHECK"], check=False).stdout
    return "window id" in out


# -- input -----------------------------------------------------------------


def activate(window):
    _run(["xdotool", "windowactivate", "--sync", str(window)], timeout=5, check=False)
    wait_until(lambda: active_window() == window, 5, what=f"window {window} to become active")


def active_window():
    done = _run(["xdotool", "getactivewindow"], check=False)
    return int(done.stdout) if done.stdout.strip().isdigit() else None


def click_at(x, y, button=1):
    """Moves the pointer to screen x, y and clicks."""
    # mousemove --sync waits for a motion event, which never comes when the
    # pointer is there already.
    if pointer_position() != (x, y):
        _run(["xdotool", "mousemove", "--sync", str(x), str(y)])
    _run(["xdotool", "click", str(button)])


def drag(start, end, steps=10, button=1):
    """Presses at screen point start, moves in steps to end and releases there."""
    if pointer_position() != tuple(start):
        _run(["xdotool", "mousemove", "--sync", str(start[0]), str(start[1])])
    _run(["xdotool", "mousedown", str(button)])
    try:
        for i in range(1, steps + 1):
            x = start[0] + (end[0] - start[0]) * i // steps
            y = start[1] + (end[1] - start[1]) * i // steps
            _run(["xdotool", "mousemove", str(x), str(y)])
            time.sleep(0.02)  # let the window manager follow the motion
    finally:
        _run(["xdotool", "mouseup", str(button)])


def frame_grip(window):
    """Screen point of the frame's bottom-right corner, where openbox's resize grip sits."""
    outer = outer_rect(window)
    return outer.x + outer.width - 3, outer.y + outer.height - 2


def pointer_position():
    out = _run(["xdotool", "getmouselocation", "--shell"]).stdout
    values = dict(line.split("=", 1) for line in out.split() if "=" in line)
    return int(values["X"]), int(values["Y"])


# The main window draws a sunken 2-pixel edge inside its own X window; its
# client area, to which the controls' rectangles are relative, lies inside it.
SUNKEN_EDGE = 2


def client_origin(window):
    """Screen position of the client area's top-left corner (inside the sunken edge)."""
    own = client_rect(window)
    return own.x + SUNKEN_EDGE, own.y + SUNKEN_EDGE


def on_screen(window, rect):
    """A client-area rectangle (x, y, w, h) of window as a screen Rect."""
    x, y = client_origin(window)
    return Rect(rect[0] + x, rect[1] + y, rect[2], rect[3])


def click_client(window, x, y, button=1):
    """Clicks at client-area coordinates of window."""
    ox, oy = client_origin(window)
    click_at(ox + x, oy + y, button)


def click_control(window, rect, button=1):
    """Clicks the middle of a control given by its client-area rectangle (x, y, w, h)."""
    x, y, w, h = rect
    click_client(window, x + w // 2, y + h // 2, button)


def type_text(text, delay_ms=20):
    """Types into whatever has the keyboard focus."""
    _run(["xdotool", "type", "--delay", str(delay_ms), "--", text], timeout=5 + len(text) * delay_ms / 250)


def key(*keys):
    """Presses key combinations ("ctrl+a", "Return") on the focused window."""
    _run(["xdotool", "key", "--delay", "30", *keys])


def replace_text_in(window, rect, text):
    """Clicks into an edit box, selects its whole text and types text over it."""
    click_control(window, rect)
    key("ctrl+a")
    type_text(text)


def close_by_window_manager(window):
    """Closes a window the way a user does: activate it and press Alt+F4 (openbox's Close)."""
    activate(window)
    key("alt+F4")


# -- window-manager requests through Xlib (ctypes, no extra packages) --------


class _XClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class _XEvent(ctypes.Union):
    _fields_ = [("xclient", _XClientMessage), ("pad", ctypes.c_long * 24)]


def _xlib():
    lib = ctypes.CDLL(ctypes.util.find_library("X11") or "libX11.so.6")
    lib.XOpenDisplay.restype = ctypes.c_void_p
    lib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    lib.XInternAtom.restype = ctypes.c_ulong
    lib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    lib.XDefaultRootWindow.restype = ctypes.c_ulong
    lib.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
    lib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_long, ctypes.c_void_p]
    lib.XFlush.argtypes = [ctypes.c_void_p]
    lib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    return lib


def send_root_message(window, message_type, data):
    """Sends an EWMH client message about window to the root (the window manager)."""
    lib = _xlib()
    dpy = lib.XOpenDisplay(None)
    if not dpy:
        raise RuntimeError("cannot open the X display")
    try:
        event = _XEvent()
        msg = event.xclient
        msg.type = 33  # ClientMessage
        msg.send_event = 1
        msg.display = dpy
        msg.window = window
        msg.message_type = lib.XInternAtom(dpy, message_type.encode(), 0)
        msg.format = 32
        for i, value in enumerate(data):
            msg.data[i] = lib.XInternAtom(dpy, value.encode(), 0) if isinstance(value, str) else value
        substructure_redirect_and_notify = (1 << 20) | (1 << 19)
        lib.XSendEvent(dpy, lib.XDefaultRootWindow(dpy), 0, substructure_redirect_and_notify, ctypes.byref(event))
        lib.XFlush(dpy)
    finally:
        lib.XCloseDisplay(dpy)


NET_WM_STATE_REMOVE, NET_WM_STATE_ADD = 0, 1


def set_maximized(window, maximized):
    """Asks the window manager to maximize or restore window, as its maximize button does."""
    action = NET_WM_STATE_ADD if maximized else NET_WM_STATE_REMOVE
    send_root_message(
        window, "_NET_WM_STATE", [action, "_NET_WM_STATE_MAXIMIZED_VERT", "_NET_WM_STATE_MAXIMIZED_HORZ", 1, 0]
    )


def is_maximized(window):
    state = xprop_atoms(window, "_NET_WM_STATE")
    return "_NET_WM_STATE_MAXIMIZED_VERT" in state and "_NET_WM_STATE_MAXIMIZED_HORZ" in state


# ---------------------------------------------------------------------------
# Screenshots


class Screenshot:
    """Pixels of an XWD ZPixmap dump (24 or 32 bits per pixel, TrueColor)."""

    def __init__(self, data):
        header = struct.unpack(">25I", data[:100])
        (header_size, version, pixmap_format, _depth, width, height, _xoffset, byte_order, _unit, _bit_order,
         _pad, bits_per_pixel, bytes_per_line, _visual_class, red_mask, green_mask, blue_mask, _bits_per_rgb,
         _entries, ncolors) = header[:20]
        if version != 7 or pixmap_format != 2:
            raise ValueError(f"not an XWD ZPixmap dump (version {version}, format {pixmap_format})")
        if bits_per_pixel not in (24, 32):
            raise ValueError(f"unsupported {bits_per_pixel} bits per pixel")
        self.width, self.height = width, height
        self._bytes_per_pixel = bits_per_pixel // 8
        self._stride = bytes_per_line
        self._little = byte_order == 0
        self._masks = [(m, (m & -m).bit_length() - 1) for m in (red_mask, green_mask, blue_mask)]
        self._pixels = memoryview(data)[header_size + 12 * ncolors :]

    def pixel(self, x, y):
        """(r, g, b) at x, y of the dump."""
        if not (0 <= x < self.width and 0 <= y < self.height):
            raise IndexError(f"pixel {x},{y} outside the {self.width}x{self.height} dump")
        offset = y * self._stride + x * self._bytes_per_pixel
        raw = int.from_bytes(self._pixels[offset : offset + self._bytes_per_pixel], "little" if self._little else "big")
        return tuple((raw & mask) >> shift for mask, shift in self._masks)

    def pixels(self, rect):
        """Every pixel of a Rect (clipped to the dump)."""
        for y in range(max(0, rect.y), min(self.height, rect.y + rect.height)):
            for x in range(max(0, rect.x), min(self.width, rect.x + rect.width)):
                yield self.pixel(x, y)

    def count_colour(self, rect, colour, tolerance=0):
        """Pixels inside rect within tolerance (per channel) of colour."""
        return sum(1 for p in self.pixels(rect) if all(abs(a - b) <= tolerance for a, b in zip(p, colour)))

    def bounding_box(self, rect, predicate):
        """Smallest Rect holding every pixel of rect for which predicate(colour) holds, or None."""
        xs, ys = [], []
        for y in range(max(0, rect.y), min(self.height, rect.y + rect.height)):
            for x in range(max(0, rect.x), min(self.width, rect.x + rect.width)):
                if predicate(self.pixel(x, y)):
                    xs.append(x)
                    ys.append(y)
        if not xs:
            return None
        return Rect(min(xs), min(ys), max(xs) - min(xs) + 1, max(ys) - min(ys) + 1)

    def colours(self, rect):
        """Histogram {colour: count} of rect."""
        hist = {}
        for p in self.pixels(rect):
            hist[p] = hist.get(p, 0) + 1
        return hist


def blend_fraction(colour, background, foreground, tolerance=0.1):
    """How far colour lies from background towards foreground (0..1), or None
    when it is no blend of the two, i.e. not what anti-aliased text of
    foreground on background gives."""
    fractions = []
    for c, b, f in zip(colour, background, foreground):
        if f == b:
            if abs(c - b) > 255 * tolerance / 4:
                return None
        else:
            fractions.append((c - b) / (f - b))
    if not fractions:
        return 0.0
    if max(fractions) - min(fractions) > tolerance or min(fractions) < -tolerance or max(fractions) > 1 + tolerance:
        return None
    return sum(fractions) / len(fractions)


def screenshot():
    """The whole screen; coordinates are screen coordinates."""
    try:
        done = subprocess.run(["xwd", "-root", "-silent"], capture_output=True, timeout=10)
    except subprocess.TimeoutExpired:
        raise Timeout("xwd did not answer within 10 s") from None
    if done.returncode != 0:
        raise RuntimeError("xwd failed: " + done.stderr.decode(errors="replace"))
    return Screenshot(done.stdout)


# ---------------------------------------------------------------------------
# Test base


class ProgramTestCase(unittest.TestCase):
    """Starts copies of the program through start(); each one is ended after the test.

    A test fails when any copy wrote a wx assertion to stderr.
    """

    def setUp(self):
        if not window_manager_running():
            self.fail(f"no window manager runs on DISPLAY={os.environ.get('DISPLAY')}; start openbox")
        self._programs = []

    def start(self, kind="probed", **kwargs):
        program = Program(binary(kind), probe=kind != "product", **kwargs)
        self._programs.append(program)
        self.addCleanup(program.__exit__, None, None, None)
        return program

    def tearDown(self):
        for program in self._programs:
            program.kill()
            found = program.assertions()
            if found:
                self.fail("the program reported assertions:\n" + "\n".join(found))
