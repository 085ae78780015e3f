"""The beeps heard: a private sound server records what the program plays."""

import math
import os
import signal

from harness import DesktopTest, poll, samples

RATE = 44100  # samples a second


class Sound(DesktopTest):
    sound = True

    def test_the_full_hour_is_heard(self):
        recorder, path = self.desktop.record()
        self.desktop.start_program(at="2026-12-07 07:59:55")  # the hour five seconds later
        poll(lambda: os.path.getsize(path) // 2 > 9 * RATE, timeout=30,
             what="nine seconds recorded")
        self.desktop.end(recorder, signal.SIGINT)
        recorded = samples(path)
        # silence before the hour: the first sound comes seconds after the start
        first = next((i for i, s in enumerate(recorded) if s), len(recorded))
        self.assertGreater(first, 3 * RATE, "silence before the hour")
        rms = lambda part: math.sqrt(sum(s * s for s in part) / max(len(part), 1)) / 32768
        loudest = max((rms(recorded[i:i + RATE // 2])
                       for i in range(first, len(recorded), RATE // 2)), default=0)
        self.assertGreater(loudest, 0.01, "the chime at the full hour")
