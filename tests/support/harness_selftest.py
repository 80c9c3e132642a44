"""Checks the GUI test harness itself against a known X client (xlogo) and
the loopback server, so a fault in the harness is not mistaken for one in
the program. Run: python3 tests/support/harness_selftest.py (needs DISPLAY
and a window manager)."""

import os
import subprocess
import sys
import tempfile
import unittest
import urllib.request

sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))
import vorlindy_harness as h  # noqa: E402


class PageServerTest(unittest.TestCase):
    def test_counts_each_get_per_path_and_sends_no_store(self):
        with h.PageServer() as server:
            server.set_page("/slow", h.Page("<p>slow</p>", delay=0.3))
            for _ in range(3):
                with urllib.request.urlopen(server.url("/a?x=1")) as reply:
                    self.assertEqual(reply.headers["Cache-Control"], "no-store")
                    self.assertIn(b"/a", reply.read())
            with urllib.request.urlopen(server.url("/slow")) as reply:
                self.assertEqual(reply.read(), b"<p>slow</p>")
            self.assertEqual(server.paths(), {"/a": 3, "/slow": 1})
            times = server.wait_for_count("/a", 3, timeout=1)
            self.assertEqual(times, sorted(times))
            with self.assertRaises(h.Timeout):
                server.wait_for_count("/a", 4, timeout=0.2)


class ProgramTest(unittest.TestCase):
    def test_reports_status_assertions_and_probe_lines(self):
        with tempfile.TemporaryDirectory() as scratch:
            script = os.path.join(scratch, "fake")
            with open(script, "w") as f:
                f.write(
                    "#!/bin/sh\n"
                    'echo "12 window-created" >> "$VORLINDY_PROBE_LOG"\n'
                    'echo "15 handler OnRefreshTick" >> "$VORLINDY_PROBE_LOG"\n'
                    'echo "wx assertion: boom" >&2\n'
                    "exit 3\n"
                )
            os.chmod(script, 0o755)
            os.environ.setdefault("DISPLAY", ":0")
            with h.Program(script) as program:
                self.assertEqual(program.wait_exit(5), 3)
                self.assertEqual(program.assertions(), ["wx assertion: boom"])
                self.assertEqual(program.probe(), [(12, "window-created", ""), (15, "handler", "OnRefreshTick")])
                self.assertEqual(len(program.probe_events("handler", "OnRefreshTick")), 1)


class XHelpersTest(unittest.TestCase):
    def setUp(self):
        if not h.window_manager_running():
            self.fail("no window manager on this display")
        self.logo = subprocess.Popen(
            ["xlogo", "-geometry", "200x150+300+200", "-bg", "rgb:10/80/f0", "-fg", "rgb:ff/ff/00"],
            stderr=subprocess.DEVNULL,
        )
        self.addCleanup(lambda: (self.logo.kill(), self.logo.wait()))

    def test_window_geometry_screenshot_and_close(self):
        # xlogo sets no _NET_WM_PID, so it is found by its title.
        window = h.wait_until(lambda: (h.find_windows(name="^xlogo$") or [None])[0], 5, what="xlogo")
        self.assertEqual(h.window_name(window), "xlogo")
        client = h.client_rect(window)
        self.assertEqual((client.width, client.height), (200, 150))
        outer = h.outer_rect(window)
        extents = h.xprop_cardinals(window, "_NET_FRAME_EXTENTS")  # left, right, top, bottom
        self.assertEqual(len(extents), 4)
        self.assertEqual(outer.width, 200 + extents[0] + extents[1])
        self.assertEqual(outer.height, 150 + extents[2] + extents[3])
        self.assertEqual((client.x - outer.x, client.y - outer.y), (extents[0], extents[2]))

        h.activate(window)
        h.wait_until(lambda: h.screenshot().count_colour(client, (0x10, 0x80, 0xF0)) > 5000, 5, what="xlogo painted")
        shot = h.screenshot()
        self.assertEqual(shot.pixel(client.x + 2, client.y + 2), (0x10, 0x80, 0xF0))
        self.assertGreater(shot.count_colour(client, (0xFF, 0xFF, 0x00)), 500)  # the logo itself
        self.assertEqual(shot.count_colour(h.Rect(client.x, client.y, 4, 4), (0, 0, 0)), 0)

        self.assertIn("_NET_WM_ACTION_MAXIMIZE_HORZ", h.xprop_atoms(window, "_NET_WM_ALLOWED_ACTIONS"))
        h.set_maximized(window, True)
        h.wait_until(lambda: h.is_maximized(window), 5, what="maximized")
        h.set_maximized(window, False)
        h.wait_until(lambda: h.client_rect(window).width == 200, 5, what="restored")

        grip = h.frame_grip(window)
        h.drag(grip, (grip[0] + 60, grip[1] + 40))
        h.wait_until(lambda: h.client_rect(window).width == 260, 5, what="resized by its grip")

        h.close_by_window_manager(window)
        self.assertEqual(self.logo.wait(5), 0)


if __name__ == "__main__":
    unittest.main(verbosity=2)
