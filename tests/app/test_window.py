"""The main window as the user sees it: place, size, title, colours, the
controls at their places, and maximizing. Drives the shipped program.

Run: python3 tests/app/test_window.py --build <build directory>
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import vorlindy_harness as h  # noqa: E402

BACKGROUND = (163, 139, 154)
WHITE = (255, 255, 255)
OUTER = h.Rect(50, 50, 435, 291)

ADDRESS_BOX = (4, 188, 136, 32)
INTERVAL_BOX = (216, 187, 56, 32)
START_BUTTON = (241, 227, 80, 32)
STOP_BUTTON = (336, 226, 80, 32)
ADDRESS_LABEL = ((154, 186, 46, 41), (216, 216, 0))
INTERVAL_LABEL = ((285, 185, 51, 41), (128, 0, 128))

# Client points that no control covers: under the address label, between
# the boxes and the buttons, and the strip right of the browser pane.
FREE_POINTS = [(150, 250), (20, 240), (210, 255), (426, 100), (180, 180)]


def grown(rect, by):
    x, y, w, hgt = rect
    return (x - by, y - by, w + 2 * by, hgt + 2 * by)


class MainWindowTest(h.ProgramTestCase):
    def open_window(self):
        program = self.start("product")
        window = program.wait_window()
        h.wait_until(lambda: h.outer_rect(window) == OUTER, 3, what=f"outer rectangle {OUTER}")
        # Painting follows the mapping; wait until the boxes are drawn.
        h.wait_until(
            lambda: h.screenshot().count_colour(h.on_screen(window, ADDRESS_BOX), WHITE) > 2000,
            5,
            what="the address box painted",
        )
        return program, window

    def assert_controls_in_place(self, window):
        shot = h.screenshot()
        for x, y in FREE_POINTS:
            sx, sy = h.client_origin(window)
            self.assertEqual(shot.pixel(sx + x, sy + y), BACKGROUND, f"background at client {x},{y}")
        for box in (ADDRESS_BOX, INTERVAL_BOX):
            # White inside, and nothing but background in a 3-pixel margin around it.
            area = h.on_screen(window, box)
            self.assertGreater(shot.count_colour(area, WHITE), 0.7 * area.width * area.height, f"white box {box}")
        for control in (ADDRESS_BOX, INTERVAL_BOX, START_BUTTON, STOP_BUTTON):
            drawn = shot.bounding_box(h.on_screen(window, grown(control, 3)), lambda c: c != BACKGROUND)
            self.assertEqual(drawn, h.on_screen(window, control), f"control drawn at {control}")
        for rect, text_colour in (ADDRESS_LABEL, INTERVAL_LABEL):
            area = h.on_screen(window, rect)
            inked = [c for c in shot.pixels(area) if c != BACKGROUND]
            fractions = [h.blend_fraction(c, BACKGROUND, text_colour) for c in inked]
            strange = [c for c, f in zip(inked, fractions) if f is None]
            self.assertEqual(strange, [], f"label {rect}: only text in {text_colour} on the background")
            self.assertGreater(sum(1 for f in fractions if f >= 0.85), 15, f"label {rect}: text drawn")

    def test_opens_at_its_place_with_its_title_colours_and_controls(self):
        program, window = self.open_window()
        self.assertEqual(h.window_name(window), "Vorlindy")
        self.assert_controls_in_place(window)
        # openbox first places a new window itself and the program moves it
        # afterwards; the place must still hold a second later.
        time.sleep(1.0)
        self.assertTrue(program.running())
        self.assertEqual(h.outer_rect(window), OUTER)
        self.assertEqual(h.xprop_atoms(window, "_NET_WM_STATE"), [])  # normal, not maximized

        # The keyboard focus starts in the address box: typing without a click lands there.
        def ink(shot, box):
            return sum(1 for c in shot.pixels(h.on_screen(window, box)) if max(c) < 100)

        before = h.screenshot()
        h.type_text("WWWW")
        h.wait_until(
            lambda: ink(h.screenshot(), ADDRESS_BOX) > ink(before, ADDRESS_BOX) + 40, 3, what="text in the address box"
        )
        self.assertEqual(ink(h.screenshot(), INTERVAL_BOX), ink(before, INTERVAL_BOX))

    def test_dragging_the_frame_border_leaves_the_design_size(self):
        _, window = self.open_window()
        grip = h.frame_grip(window)
        h.drag(grip, (grip[0] + 100, grip[1] + 80))
        h.wait_until(lambda: h.outer_rect(window) == OUTER, 2, what=f"outer rectangle {OUTER} after the drag")
        self.assert_controls_in_place(window)

    def test_offers_maximize_but_no_minimize(self):
        _, window = self.open_window()
        functions, decorations = h.motif_hints(window)
        self.assertIsNotNone(functions, "_MOTIF_WM_HINTS functions")
        self.assertIn("maximize", functions)
        self.assertIn("close", functions)
        self.assertIn("move", functions)
        self.assertNotIn("minimize", functions)
        if decorations is not None:
            self.assertNotIn("minimize", decorations)
        self.assertIn("_NET_WM_ACTION_MAXIMIZE_HORZ", h.xprop_atoms(window, "_NET_WM_ALLOWED_ACTIONS"))

    def test_maximizing_keeps_the_controls_and_restoring_gives_the_design_size(self):
        _, window = self.open_window()
        h.set_maximized(window, True)
        h.wait_until(lambda: h.is_maximized(window), 5, what="the window maximized")
        h.wait_until(lambda: h.outer_rect(window).width > 800, 5, what="the maximized frame")
        big = h.client_rect(window)
        # Let the bigger area be painted, then check that nothing moved or grew
        # and the new part of the client area shows the background.
        h.wait_until(
            lambda: h.screenshot().pixel(big.x + big.width - 20, big.y + big.height - 20) == BACKGROUND,
            5,
            what="the enlarged client area painted",
        )
        self.assert_controls_in_place(window)
        shot = h.screenshot()
        ox, oy = h.client_origin(window)
        for x, y in [(600, 100), (500, 400), (big.width - 20, big.height - 20)]:
            self.assertEqual(shot.pixel(ox + x, oy + y), BACKGROUND, f"background at client {x},{y} when maximized")

        h.set_maximized(window, False)
        h.wait_until(lambda: not h.is_maximized(window), 5, what="the window restored")
        h.wait_until(lambda: h.outer_rect(window) == OUTER, 5, what=f"outer rectangle {OUTER} after restoring")
        h.wait_until(
            lambda: h.screenshot().count_colour(h.on_screen(window, ADDRESS_BOX), WHITE) > 2000, 5, what="repainted"
        )
        self.assert_controls_in_place(window)


if __name__ == "__main__":
    h.main()
