"""The beeps heard: a private sound server records what the program plays."""

import math
import os
import signal

from harness import DesktopTest, clock, poll, samples, text


class Sound(DesktopTest):
    sound = True

    def test_the_full_hour_is_heard(self):
        recorder, path = self.desktop.record()
        self.start(at="2026-12-07 07:59:55")
        label = clock()
        poll(lambda: text(label).startswith("07:59:59"), what="the last second before the hour")
        hour = os.path.getsize(path) // 2  # the samples played before the hour
        poll(lambda: text(label).startswith("08:00:02"), what="two seconds into the hour")
        self.desktop.end(recorder, signal.SIGINT)
        recorded = samples(path)
        quiet, chime = recorded[:hour], recorded[hour:]
        self.assertGreater(len(quiet), 44100, "the recorder ran before the hour")
        self.assertEqual(max(map(abs, quiet)), 0, "silence before the hour")
        rms = math.sqrt(sum(s * s for s in chime) / max(len(chime), 1)) / 32768
        self.assertGreater(rms, 0.01, "the chime at the full hour")
