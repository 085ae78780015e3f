"""The beeps heard: a private sound server records what the program plays."""

import math
import unittest

from harness import DesktopTest, clock, poll, text


def loudness(samples):
    """Root mean square of the samples, 0 to 1."""
    if not samples:
        return 0.0
    return math.sqrt(sum(s * s for s in samples) / len(samples)) / 32768


class Sound(DesktopTest):
    sound = True

    def test_the_full_hour_is_heard(self):
        recorder = self.desktop.record()
        self.start(at="2026-12-07 07:59:55")
        label = clock()
        poll(lambda: text(label).startswith("07:59:59"), what="the last second before the hour")
        hour = recorder.recorded()  # everything before this was played before the hour
        poll(lambda: text(label).startswith("08:00:02"), what="two seconds into the hour")
        samples = recorder.stop()
        quiet, chime = samples[:hour], samples[hour:]
        self.assertGreater(len(quiet), 44100, "the recorder ran before the hour")
        self.assertEqual(max(map(abs, quiet)), 0, "silence before the hour")
        self.assertGreater(loudness(chime), 0.01, "the chime at the full hour")

if __name__ == "__main__":
    unittest.main()
