"""Refreshing end to end: what the address box holds is loaded again on every
tick, Start changes the period, Stop ends the loads. The pages come from a
loopback server that counts requests; the tick times come from the probe
log of the test build (steady clock, the same clock as time.monotonic_ns).

Run: python3 tests/app/test_refresh.py --build <build directory>
"""

import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
import vorlindy_harness as h  # noqa: E402

ADDRESS_BOX = (4, 188, 136, 32)
INTERVAL_BOX = (216, 187, 56, 32)
START_BUTTON = (241, 227, 80, 32)
STOP_BUTTON = (336, 226, 80, 32)

MS = 1_000_000  # ns
US_PER_MS = 1000


def ticks_us(program):
    return [t for t, _, _ in program.probe_events("handler", "OnRefreshTick")]


def sleep_until_ns(t_ns):
    time.sleep(max(0.0, (t_ns - time.monotonic_ns()) / 1e9))


class RefreshTest(h.ProgramTestCase):
    def setUp(self):
        super().setUp()
        self.server = h.PageServer()
        self.addCleanup(self.server.close)
        self.program = self.start("probed")
        self.window = self.program.wait_window()

    def load_address(self, path):
        """Types the address of path into the address box; returns the URL."""
        url = self.server.url(path)
        h.replace_text_in(self.window, ADDRESS_BOX, url)
        return url

    def click(self, button, handler):
        """Clicks a button and returns the probe time (us) of the handler it ran."""
        before = len(self.program.probe_events("handler", handler))
        h.click_control(self.window, button)
        return self.program.wait_probe("handler", handler, count=before + 1, timeout=3)[-1][0]

    def next_tick_after(self, t_us, timeout=3):
        return h.wait_until(
            lambda: next((t for t in ticks_us(self.program) if t > t_us), None), timeout, what="the next tick"
        )

    def test_every_tick_loads_the_address_box_again(self):
        program = self.program
        # Before anything is typed the ticks hand over the empty address.
        first = program.wait_probe("handler", "OnRefreshTick", timeout=3)[0][0]
        created = program.wait_probe("window-created")[0][0]
        self.assertAlmostEqual((first - created) / US_PER_MS, 1000, delta=400, msg="first tick after creation")
        navigations = program.probe_events("navigate")
        self.assertGreaterEqual(len(navigations), 1)
        self.assertIn(navigations[0][2], ("", "about:blank"), "the empty address box")

        typed_ns = time.monotonic_ns()
        url = self.load_address("/a")
        first_request = self.server.wait_for_count("/a", 1, timeout=3)[0]
        self.assertLess(first_request - typed_ns, 2500 * MS, "the first load follows the next tick")

        sleep_until_ns(first_request + 5000 * MS)
        requests = h.count_between(self.server.times("/a"), first_request, first_request + 5000 * MS)
        self.assertGreaterEqual(requests, 4, "about one load per second, the same address each time")
        self.assertLessEqual(requests, 6)

        ticks = ticks_us(program)
        gaps = [(b - a) / US_PER_MS for a, b in zip(ticks, ticks[1:])]
        self.assertTrue(all(900 <= g <= 1150 for g in gaps), f"tick gaps (ms): {gaps}")
        # From the first tick that saw the whole address on, every tick handed
        # over exactly that address.
        kinds = [(e[1], e[2]) for e in program.probe() if e[1] in ("handler", "navigate")]
        start = kinds.index(("navigate", url)) - 1
        pairs = list(zip(kinds[start::2], kinds[start + 1 :: 2]))
        self.assertGreaterEqual(len(pairs), 5)
        for tick, navigation in pairs:
            self.assertEqual((tick, navigation), (("handler", "OnRefreshTick"), ("navigate", url)))

    def test_start_takes_the_new_interval_and_stop_ends_the_loads(self):
        program = self.program
        self.load_address("/b")
        self.server.wait_for_count("/b", 1, timeout=3)

        h.replace_text_in(self.window, INTERVAL_BOX, "250")
        clicked = self.click(START_BUTTON, "OnStartClicked")
        sleep_until_ns(clicked * 1000 + 2100 * MS)
        after = [t for t in ticks_us(program) if t > clicked]
        self.assertGreaterEqual(len(after), 7, "four ticks a second")
        self.assertAlmostEqual((after[0] - clicked) / US_PER_MS, 250, delta=80, msg="first tick after Start")
        gaps = [(b - a) / US_PER_MS for a, b in zip(after, after[1:])]
        self.assertTrue(all(200 <= g <= 320 for g in gaps), f"tick gaps (ms): {gaps}")
        requests = h.count_between(self.server.times("/b"), clicked * 1000, clicked * 1000 + 2000 * MS)
        self.assertGreaterEqual(requests, 6, "each tick loads the page")
        self.assertLessEqual(requests, 10)

        stopped = self.click(STOP_BUTTON, "OnStopClicked")
        sleep_until_ns(stopped * 1000 + 2500 * MS)
        self.assertEqual([t for t in ticks_us(program) if t > stopped], [], "no tick after Stop")
        late = [t for t in self.server.times("/b") if t > stopped * 1000 + 200 * MS]
        self.assertEqual(late, [], "no load after Stop")

        # Start again with 1000: the count starts at the click.
        h.replace_text_in(self.window, INTERVAL_BOX, "1000")
        restarted = self.click(START_BUTTON, "OnStartClicked")
        tick = self.next_tick_after(restarted)
        self.assertAlmostEqual((tick - restarted) / US_PER_MS, 1000, delta=100, msg="first tick after restart")
        self.server.wait_for_count("/b", len(self.server.times("/b")) + 1, timeout=2)

    def test_start_with_the_unchanged_interval_keeps_the_tick_rhythm(self):
        program = self.program
        ticks = program.wait_probe("handler", "OnRefreshTick", count=2, timeout=4)
        last = ticks[-1][0]
        # Click in the middle of a period, where a restart would be visible.
        sleep_until_ns(last * 1000 + 400 * MS)
        clicked = self.click(START_BUTTON, "OnStartClicked")
        prior = [t for t in ticks_us(program) if t < clicked][-1]
        self.assertGreater(clicked - prior, 250 * US_PER_MS, "the click landed mid-period")
        self.assertLess(clicked - prior, 850 * US_PER_MS, "the click landed mid-period")
        nxt = self.next_tick_after(clicked)
        self.assertAlmostEqual((nxt - prior) / US_PER_MS, 1000, delta=60, msg="the tick after Start keeps its place")


if __name__ == "__main__":
    h.main()
