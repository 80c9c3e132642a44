"""Pages that would stop a browser: script dialogs and a page that never
arrives in time. The browser pane shows no dialog of its own, so such a page
must not open a window nor stall the refreshing.

Run: python3 tests/app/test_page_dialogs.py --build <build directory>
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import vorlindy_harness as h  # noqa: E402

ADDRESS_BOX = (4, 188, 136, 32)
MS = 1_000_000

# Each dialog page asks for /returned/<name> once its dialog has returned, so
# the test sees that the script ran and the dialog did not hold it.
def dialog_page(name, call):
    return h.script_page(f"{call}; fetch('/returned/{name}');")


PAGES = {
    "/alert": dialog_page("alert", "alert('hello')"),
    "/confirm": dialog_page("confirm", "confirm('sure?')"),
    "/prompt": dialog_page("prompt", "prompt('name?', 'x')"),
    # Answered only after three periods: every tick asks again meanwhile.
    "/slow": h.Page("<p>late</p>", delay=3.0),
}


class PageDialogTest(h.ProgramTestCase):
    def test_refreshing_goes_on_and_no_window_opens(self):
        with h.PageServer() as server:
            for path, page in PAGES.items():
                server.set_page(path, page)
            program = self.start("probed")
            window = program.wait_window()
            windows_before = set(h.top_level_windows())
            for path in PAGES:
                with self.subTest(page=path):
                    h.replace_text_in(window, ADDRESS_BOX, server.url(path))
                    first = server.wait_for_count(path, 1, timeout=3)[0]
                    time.sleep(max(0.0, (first + 4500 * MS - time.monotonic_ns()) / 1e9))
                    requests = h.count_between(server.times(path), first, first + 4500 * MS)
                    self.assertGreaterEqual(requests, 4, f"{path} loaded again every second")
                    if path != "/slow":
                        self.assertGreaterEqual(server.count("/returned" + path), 3, f"{path}: the dialog returned")
                    self.assertEqual(set(h.top_level_windows()) - windows_before, set(), "a new window")
                    self.assertTrue(program.running())
            self.assertEqual(program.windows(), [window])


if __name__ == "__main__":
    h.main()
