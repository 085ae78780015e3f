"""Emptying the recently-used lists: on request from the tray menu, and every 50 seconds."""

import os
import time
import unittest

from harness import DesktopTest, poll

ENTRIES = """<?xml version="1.0" encoding="UTF-8"?>
<xbel version="1.0" xmlns:bookmark="http://www.freedesktop.org/standards/desktop-bookmarks" \
xmlns:mime="http://www.freedesktop.org/standards/shared-mime-info">
<bookmark href="file:///home/u/secret.txt" added="2026-12-01T10:00:00Z" \
modified="2026-12-01T10:00:00Z" visited="2026-12-01T10:00:00Z"><info><metadata \
owner="http://freedesktop.org"><mime:mime-type type="text/plain"/></metadata></info></bookmark>
</xbel>
"""


class Purge(DesktopTest):
    def lists(self):
        xbel = os.path.join(self.desktop.data, "recently-used.xbel")
        with open(xbel, "w") as f:
            f.write(ENTRIES)
        os.chmod(xbel, 0o600)
        kde = os.path.join(self.desktop.data, "RecentDocuments")
        os.makedirs(os.path.join(kde, "folder.desktop"), exist_ok=True)
        for name in ("a.desktop", "b.desktop", "notes.txt"):
            with open(os.path.join(kde, name), "w") as f:
                f.write("[Desktop Entry]\n")
        return xbel, kde

    def emptied(self, xbel, kde):
        with open(xbel) as f:
            content = f.read()
        return "<bookmark" not in content and "<xbel" in content and \
            sorted(os.listdir(kde)) == ["folder.desktop", "notes.txt"]

    def test_on_request(self):
        xbel, kde = self.lists()
        self.start()
        self.assertFalse(self.emptied(xbel, kde))
        self.desktop.tray_menu(3)
        poll(lambda: self.emptied(xbel, kde), what="both lists emptied")
        self.assertEqual(os.stat(xbel).st_mode & 0o777, 0o600)

    def test_every_fifty_seconds(self):
        xbel, kde = self.lists()
        self.desktop.write_ini("[Quorvane]\nDELLMODE=1\n")
        started = time.monotonic()
        self.start()
        poll(lambda: self.emptied(xbel, kde), timeout=70, interval=0.5,
             what="the lists emptied by the sweep")
        self.assertGreater(time.monotonic() - started, 45, "the sweep came early")


if __name__ == "__main__":
    unittest.main()
