"""Start-up time of the real program: exec -> window mapped, and exec -> the
first request of the typed address reaching a loopback server.

Run on demand (prints figures, asserts nothing):
    scripts/with-display python3 bench/startup_bench.py --build build [--runs 10]

The window-mapped time is the test build's "window-shown" probe (steady clock,
the same CLOCK_MONOTONIC as Python's monotonic clock). The address is typed the
moment the window shows; the first tick comes 1000 ms after the window was
created, so the request time is bounded below by that period.
"""

import argparse
import os
import statistics
import sys

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "support"))
import vorlindy_harness as h  # noqa: E402


def one_run(server, build, run):
    path = h.binaries(build)["probed"]
    page = f"/start{run}"
    server.set_page(page, h.Page("<p>start</p>"))
    with h.Program(path) as program:
        shown = program.wait_probe("window-shown", timeout=10)[0][0]
        created = program.probe_events("window-created")[0][0]
        program.wait_window(timeout=10)
        # The focus starts in the address box.
        h.type_text(server.url(page), delay_ms=2)
        server.wait_for_count(page, 1, timeout=10)
        first_request_ns = server.times(page)[0]
        return {
            "created_ms": (created * 1000 - program.started_ns) / 1e6,
            "mapped_ms": (shown * 1000 - program.started_ns) / 1e6,
            "request_ms": (first_request_ns - program.started_ns) / 1e6,
        }


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--runs", type=int, default=10)
    args = parser.parse_args()
    results = []
    with h.PageServer() as server:
        for run in range(args.runs):
            results.append(one_run(server, os.path.abspath(args.build), run))
    print(f"start-up over {len(results)} runs (ms after exec)")
    print(f"{'':24}{'median':>10}{'min':>10}{'max':>10}")
    for key, label in (("created_ms", "window created"), ("mapped_ms", "window mapped"),
                       ("request_ms", "first request at server")):
        values = [r[key] for r in results]
        print(f"{label:24}{statistics.median(values):10.1f}{min(values):10.1f}{max(values):10.1f}")


if __name__ == "__main__":
    main()
