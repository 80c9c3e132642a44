"""Closing the window cuts the music off at once: the program plays through a
real-time sound server (PulseAudio's null sink, reached through ALSA's pulse
plugin), the window is closed 2 s after it opens, and the sink's monitor shows
sound that starts with the window and ends with the close, far short of the
clip's 12.8 s.
"""

import os
import shutil
import signal
import struct
import subprocess
import sys
import tempfile
import time
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
import vorlindy_harness as h  # noqa: E402

RATE = 44100
CHANNELS = 2


def sounding_span(raw):
    """(first, last) second of the recording that is not silence, or None."""
    count = len(raw) // 2
    samples = struct.unpack("<%dh" % count, raw[: count * 2])
    loud = [i for i, v in enumerate(samples) if abs(v) > 16]
    if not loud:
        return None
    return loud[0] / CHANNELS / RATE, loud[-1] / CHANNELS / RATE


class MusicCutOffTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="vorlindy-pulse-")
        self.addCleanup(shutil.rmtree, self.dir, True)
        run = os.path.join(self.dir, "run")
        os.mkdir(run, 0o700)
        self.socket = os.path.join(run, "native")
        self.env = dict(os.environ, XDG_RUNTIME_DIR=run, HOME=self.dir,
                        PULSE_SERVER="unix:" + self.socket)
        self.server = subprocess.Popen(
            ["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
             "--use-pid-file=no", "-L", "module-native-protocol-unix socket=" + self.socket,
             "-L", "module-null-sink sink_name=capture rate=%d channels=%d" % (RATE, CHANNELS)],
            env=self.env, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.addCleanup(self.stop, self.server)
        h.wait_until(lambda: subprocess.run(["pactl", "list", "short", "sinks"], env=self.env,
                                            capture_output=True).returncode == 0,
                     10, what="the sound server")

    @staticmethod
    def stop(process):
        if process.poll() is None:
            process.send_signal(signal.SIGINT)
            try:
                process.wait(5)
            except subprocess.TimeoutExpired:
                process.kill()
                process.wait()

    def test_closing_the_window_cuts_the_music_off(self):
        recording = os.path.join(self.dir, "monitor.raw")
        with open(recording, "wb") as out:
            recorder = subprocess.Popen(
                ["parec", "-d", "capture.monitor", "--raw", "--format=s16le", "--rate=%d" % RATE,
                 "--channels=%d" % CHANNELS, "--latency-msec=20"],
                env=self.env, stdout=out, stderr=subprocess.DEVNULL)
            self.addCleanup(self.stop, recorder)
            time.sleep(0.5)  # the recorder is running before the window opens
            conf = os.path.join(self.dir, "asound.conf")
            with open(conf, "w") as f:
                f.write('pcm.!default { type pulse server "unix:%s" }\n' % self.socket)
            env = {"ALSA_CONFIG_PATH": "/usr/share/alsa/alsa.conf:" + conf,
                   "XDG_RUNTIME_DIR": self.env["XDG_RUNTIME_DIR"]}
            with h.Program(h.binary("probed"), sound=None, extra_env=env) as program:
                window = program.wait_window()
                time.sleep(2.0)
                h.close_by_window_manager(window)
                self.assertEqual(program.wait_exit(10), 0)
            time.sleep(1.5)  # silence after the close is recorded too
            self.stop(recorder)
        with open(recording, "rb") as f:
            raw = f.read()
        span = sounding_span(raw)
        self.assertIsNotNone(span, "the clip was heard")
        recorded = len(raw) / 2 / CHANNELS / RATE
        first, last = span
        self.assertGreater(last - first, 0.5, "the clip played while the window was open")
        self.assertLess(last - first, 5.0, "the sound stopped with the window, not at the clip's end")
        self.assertGreater(recorded - last, 0.5, "the recording went on in silence after the close")
        print(f"sound {first:.2f}-{last:.2f} s of {recorded:.2f} s recorded", file=sys.stderr)


if __name__ == "__main__":
    h.main()
