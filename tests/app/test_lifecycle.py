"""Start-up and shutdown of the whole program: closing the window ends it with
status 0 after one clean-up, a broken window design ends it with an error
box and status 255, copies run side by side, and the working directory is
the executable's.

Run: python3 tests/app/test_lifecycle.py --build <build directory>
"""

import os
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import vorlindy_harness as h  # noqa: E402

ADDRESS_BOX = (4, 188, 136, 32)


class LifecycleTest(h.ProgramTestCase):
    def test_closing_the_window_runs_the_clean_up_once_and_exits_with_0(self):
        program = self.start("probed")
        window = program.wait_window()
        program.wait_probe("handler", "OnRefreshTick", timeout=3)
        h.close_by_window_manager(window)
        self.assertEqual(program.wait_exit(5), 0)
        events = program.probe()
        names = [e[1] for e in events]
        self.assertEqual(names.count("cleanup"), 1)
        self.assertEqual(events[-1][1:], ("exit", "0"))
        after_cleanup = names[names.index("cleanup") :]
        self.assertNotIn("handler", after_cleanup, "a handler ran after end processing began")
        self.assertEqual(h.find_windows(pid=program.pid), [])

    def test_a_broken_design_shows_an_error_box_and_exits_with_255(self):
        program = self.start("broken-design")
        box = program.wait_window()
        self.assertTrue(program.running(), "the program waits for the box to be dismissed")
        self.assertNotEqual(h.outer_rect(box), h.Rect(50, 50, 435, 291), "this is the main window, not a box")
        h.activate(box)
        h.key("Return")
        self.assertEqual(program.wait_exit(5), 255)
        names = [e[1] for e in program.probe()]
        self.assertNotIn("handler", names)
        self.assertNotIn("cleanup", names)
        self.assertNotIn("window-shown", names)

    def test_two_copies_run_side_by_side_and_both_exit_with_0(self):
        with h.PageServer() as server:
            first = self.start("product")
            first_window = first.wait_window()
            h.replace_text_in(first_window, ADDRESS_BOX, server.url("/first"))
            second = self.start("product")
            second_window = second.wait_window()
            self.assertNotEqual(first_window, second_window)
            h.replace_text_in(second_window, ADDRESS_BOX, server.url("/second"))
            seen_first = server.wait_for_count("/first", 1, timeout=3)
            server.wait_for_count("/second", 2, timeout=4)
            server.wait_for_count("/first", len(seen_first) + 2, timeout=4)

            h.close_by_window_manager(second_window)
            self.assertEqual(second.wait_exit(5), 0)
            # The other copy keeps its window and keeps refreshing.
            self.assertEqual(first.windows(), [first_window])
            server.wait_for_count("/first", server.count("/first") + 2, timeout=4)
            h.close_by_window_manager(first_window)
            self.assertEqual(first.wait_exit(5), 0)

    def test_the_working_directory_is_the_executables(self):
        with tempfile.TemporaryDirectory() as elsewhere:
            program = self.start("product", cwd=elsewhere)
            program.wait_window()
            cwd = os.readlink(f"/proc/{program.pid}/cwd")
            self.assertEqual(cwd, os.path.dirname(os.path.realpath(program.path)))


if __name__ == "__main__":
    h.main()
