"""Memory over a long run of reloading: the program reloads a loopback page
every 100 ms and the resident memory of the program and of the web engine's
helper processes is sampled.

Run on demand (prints figures, asserts nothing):
    scripts/with-display python3 bench/memory_soak.py --build build [--minutes 10]
"""

import argparse
import os
import sys
import time

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "tests", "support"))
import vorlindy_harness as h  # noqa: E402

INTERVAL_BOX = (216 + 2, 187 + 2, 56, 32)  # client rectangle inside the 2-pixel edge
START_BUTTON = (241 + 2, 227 + 2, 80, 32)
PAGE = "<html><head><title>soak</title></head><body>" + "<p>line of text</p>" * 200 + "</body></html>"


def descendants(pid):
    """pid and all its descendants, from /proc."""
    children = {}
    for entry in os.listdir("/proc"):
        if not entry.isdigit():
            continue
        try:
            with open(f"/proc/{entry}/stat") as f:
                ppid = int(f.read().rsplit(")", 1)[1].split()[1])
        except (OSError, ValueError, IndexError):
            continue
        children.setdefault(ppid, []).append(int(entry))
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        todo.extend(children.get(p, []))
    return found


def rss_kib(pid):
    try:
        with open(f"/proc/{pid}/status") as f:
            for line in f:
                if line.startswith("VmRSS:"):
                    return int(line.split()[1])
    except OSError:
        pass
    return 0


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--build", default="build")
    parser.add_argument("--minutes", type=float, default=10)
    parser.add_argument("--sample-seconds", type=float, default=30)
    args = parser.parse_args()
    path = h.binaries(os.path.abspath(args.build))["product"]
    with h.PageServer() as server, h.Program(path, probe=False) as program:
        server.set_page("/soak", h.Page(PAGE))
        window = program.wait_window(timeout=10)
        h.type_text(server.url("/soak"), delay_ms=2)  # the focus starts in the address box
        h.replace_text_in(window, INTERVAL_BOX, "100")
        h.click_control(window, START_BUTTON)
        server.wait_for_count("/soak", 5, timeout=10)
        start = time.monotonic()
        print(f"{'minute':>8}{'loads':>8}{'program MiB':>14}{'web engine MiB':>16}{'total MiB':>12}")
        samples = []
        while True:
            elapsed = time.monotonic() - start
            pids = descendants(program.pid)
            own = rss_kib(program.pid) / 1024
            engine = sum(rss_kib(p) for p in pids if p != program.pid) / 1024
            samples.append((elapsed, own, engine))
            print(f"{elapsed / 60:8.1f}{server.count('/soak'):8}{own:14.1f}{engine:16.1f}{own + engine:12.1f}",
                  flush=True)
            if elapsed >= args.minutes * 60:
                break
            time.sleep(args.sample_seconds)
        # Growth after the first sample, which includes the engine's warm-up.
        first, last = samples[min(1, len(samples) - 1)], samples[-1]
        span_h = max(1e-9, (last[0] - first[0]) / 3600)
        print(f"growth after warm-up: program {(last[1] - first[1]):+.1f} MiB, "
              f"web engine {(last[2] - first[2]):+.1f} MiB over {(last[0] - first[0]) / 60:.1f} min "
              f"({(last[1] + last[2] - first[1] - first[2]) / span_h:+.1f} MiB/h)")


if __name__ == "__main__":
    main()
