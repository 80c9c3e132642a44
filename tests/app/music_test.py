"""The whole program and its music: opening the window plays the clip once,
exactly as it is, through ALSA's default device; closing the window ends the
program with status 0 with no playback thread left; with no sound device the
window opens and refreshes as usual and nothing is printed.

ALSA's default device is routed to a file the test reads back.
"""

import os
import struct
import sys
import tempfile
import unittest

sys.path.insert(0, os.path.join(os.path.dirname(__file__), "..", "support"))
import vorlindy_harness as h  # noqa: E402

ROOT = os.path.abspath(os.path.join(os.path.dirname(__file__), "..", ".."))
CLIP = os.path.join(ROOT, "media", "assets", "music.wav")


def data_chunk(path):
    with open(path, "rb") as f:
        wav = f.read()
    pos = 12
    while pos + 8 <= len(wav):
        tag, size = wav[pos:pos + 4], struct.unpack("<I", wav[pos + 4:pos + 8])[0]
        if tag == b"data":
            return wav[pos + 8:pos + 8 + size]
        pos += 8 + size + (size & 1)
    raise AssertionError("the clip has no data chunk")


class MusicTest(unittest.TestCase):
    def setUp(self):
        self.dir = tempfile.mkdtemp(prefix="vorlindy-music-")

    def alsa_env(self, conf_text):
        conf = os.path.join(self.dir, "asound.conf")
        with open(conf, "w") as f:
            f.write(conf_text)
        return {"ALSA_CONFIG_PATH": "/usr/share/alsa/alsa.conf:" + conf}

    def test_window_plays_the_clip_once_and_closes_cleanly(self):
        out = os.path.join(self.dir, "played.raw")
        env = self.alsa_env(
            'pcm.!default { type file slave.pcm { type null } file "%s" format "raw" }\n' % out)
        expected = data_chunk(CLIP)
        with h.Program(h.binary("probed"), sound=None, extra_env=env) as program:
            window = program.wait_window()
            # The capture sink is not paced, so the whole clip arrives at once.
            h.wait_until(lambda: os.path.exists(out) and os.path.getsize(out) >= len(expected), 10,
                         what="the clip to reach the sound device")
            h.close_by_window_manager(window)
            self.assertEqual(program.wait_exit(10), 0)
            self.assertEqual(program.assertions(), [])
        with open(out, "rb") as f:
            played = f.read()
        self.assertEqual(len(played), len(expected), "the clip is played exactly once")
        self.assertTrue(played == expected, "the bytes played are the clip's samples")

    def test_without_a_sound_device_everything_else_works_and_nothing_is_printed(self):
        env = self.alsa_env('pcm.!default { type hw card 7 device 0 }\n')
        with h.PageServer() as server, h.Program(h.binary("probed"), sound=None,
                                                 extra_env=env) as program:
            server.set_page("/quiet", h.Page("<p>quiet</p>"))
            window = program.wait_window()
            h.type_text(server.url("/quiet"))  # the focus starts in the address box
            server.wait_for_count("/quiet", 2, timeout=6)
            h.close_by_window_manager(window)
            self.assertEqual(program.wait_exit(10), 0)
            noise = [l for l in program.stderr_text().splitlines()
                     if "ALSA" in l or "snd_" in l or l.startswith(h.ASSERTION_MARK)]
            self.assertEqual(noise, [])


if __name__ == "__main__":
    h.main()
