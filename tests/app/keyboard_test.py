"""The window's own keyboard and mouse rules, on the real program: Enter and
Tab walk the focus through the edit boxes, the buttons and the page (Enter
never clicks a button, Space does), the interval box takes only digits and '-'
from the keyboard, Esc does nothing, and the window can be dragged by its
background but not by an edit box.
"""

import os
import sys
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
import vorlindy_harness as h  # noqa: E402

EDGE = 2  # the client area's sunken edge; control rectangles start inside it
ADDRESS_BOX = (4 + EDGE, 188 + EDGE, 136, 32)


class KeyboardTest(unittest.TestCase):
    def start(self):
        program = h.Program(h.binary("probed"))
        self.addCleanup(program.__exit__, None, None, None)
        window = program.wait_window()
        h.activate(window)
        program.wait_probe("focus", "编辑框1")
        return program, window

    def focus_after(self, program, keys):
        """Presses keys one by one and returns the control focused after each."""
        seen = []
        for k in keys:
            before = len(program.probe_events("focus"))
            h.key(k)
            h.wait_until(lambda: len(program.probe_events("focus")) > before, 5,
                         what=f"the focus to move on {k}")
            seen.append(program.probe_events("focus")[-1][2])
        return seen

    def test_enter_and_tab_walk_the_cycle_and_enter_never_clicks(self):
        program, _ = self.start()
        self.assertEqual(
            self.focus_after(program, ["Return", "Return", "Return", "Return", "Tab"]),
            ["编辑框2", "按钮1", "按钮2", "超文本浏览框1", "编辑框1"])
        self.assertEqual(self.focus_after(program, ["shift+Tab", "shift+Tab"]),
                         ["超文本浏览框1", "按钮2"])
        self.assertEqual(program.probe_events("handler", "OnStartClicked"), [])
        self.assertEqual(program.probe_events("handler", "OnStopClicked"), [])
        self.assertEqual(program.assertions(), [])

    def test_space_clicks_and_the_interval_box_takes_digits_and_minus(self):
        program, _ = self.start()
        self.focus_after(program, ["Tab"])  # the interval box
        h.key("ctrl+a", "BackSpace")
        h.type_text("1a2-x3")
        self.focus_after(program, ["Tab"])  # Start
        h.key("space")
        # What was left in the box is 12-3, whose numeral is 12.
        program.wait_probe("period", "12")
        time.sleep(0.5)
        self.assertEqual(len(program.probe_events("handler", "OnStartClicked")), 1)

    def test_esc_neither_closes_nor_moves_the_focus(self):
        program, window = self.start()
        focus_events = len(program.probe_events("focus"))
        h.key("Escape")
        time.sleep(0.5)
        self.assertTrue(program.running())
        self.assertIn(window, program.windows())
        self.assertEqual(len(program.probe_events("focus")), focus_events)

    def drag(self, window, x, y, dx, dy):
        client = h.client_rect(window)
        h._run(["xdotool", "mousemove", str(client.x + x), str(client.y + y)])
        h._run(["xdotool", "mousedown", "1"])
        for step in range(1, 6):
            h._run(["xdotool", "mousemove", str(client.x + x + dx * step // 5),
                    str(client.y + y + dy * step // 5)])
            time.sleep(0.05)
        h._run(["xdotool", "mouseup", "1"])

    def test_background_drags_the_window_an_edit_box_does_not(self):
        _, window = self.start()
        before = h.outer_rect(window)
        self.drag(window, ADDRESS_BOX[0] + 20, ADDRESS_BOX[1] + 16, 60, 40)
        time.sleep(0.5)
        self.assertEqual(h.outer_rect(window), before, "a press on an edit box moves nothing")

        self.drag(window, 200, 255, 60, 40)  # background between the boxes and the buttons
        moved = h.wait_until(
            lambda: (lambda r: r if (r.x, r.y) != (before.x, before.y) else None)(h.outer_rect(window)),
            5, what="the window to move")
        self.assertEqual((moved.x - before.x, moved.y - before.y), (60, 40))
        self.assertEqual((moved.width, moved.height), (before.width, before.height))


if __name__ == "__main__":
    h.main()
