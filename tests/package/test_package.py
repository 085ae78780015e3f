"""The Debian package: built by CPack from the build folder, validated, installed on this machine,
started from /usr/bin on a private desktop, and purged again.

    QUORVANE_BUILD_DIR=build python3 -m unittest -v test_package
"""

import os
import re
import shutil
import subprocess
import sys
import tempfile
import unittest

HERE = os.path.dirname(os.path.abspath(__file__))
BUILD = os.environ.get("QUORVANE_BUILD_DIR", "")
APP_ID = "org.example.velmaris.Quorvane"
INSTALLED = "/usr/bin/quorvane"

EXPECTED_FILES = sorted(
    ["./usr/bin/quorvane",
     f"./usr/share/applications/{APP_ID}.desktop",
     f"./usr/share/metainfo/{APP_ID}.metainfo.xml",
     f"./usr/share/icons/hicolor/scalable/apps/{APP_ID}.svg",
     "./usr/share/doc/quorvane/copyright",
     "./usr/share/doc/quorvane/changelog.gz",
     "./usr/share/man/man1/quorvane.1.gz"]
    + [f"./usr/share/icons/hicolor/{n}x{n}/apps/{APP_ID}.png"
       for n in (16, 22, 24, 32, 48, 64, 128, 256)])


def run(*args, **kwargs):
    return subprocess.run(list(args), capture_output=True, text=True, timeout=600, **kwargs)


def installed_version(package):
    out = run("dpkg-query", "-W", "-f", "${Status} ${Version}", package)
    return out.stdout if out.returncode == 0 and "installed" in out.stdout.split() else None


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not BUILD:
            raise unittest.SkipTest("QUORVANE_BUILD_DIR is not set")
        cls.work = tempfile.mkdtemp(prefix="quorvane-package-")
        out = run("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"),
                  "-B", cls.work)
        if out.returncode != 0:
            raise AssertionError("cpack failed:\n" + out.stdout + out.stderr)
        debs = [f for f in os.listdir(cls.work) if f.endswith(".deb")]
        arch = run("dpkg", "--print-architecture").stdout.strip()
        assert debs == [f"quorvane_0.2.0.3_{arch}.deb"], debs
        cls.deb = os.path.join(cls.work, debs[0])
        cls.tree = os.path.join(cls.work, "tree")
        subprocess.run(["dpkg-deb", "-x", cls.deb, cls.tree], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def test_file_list(self):
        listing = run("dpkg-deb", "-c", self.deb).stdout.splitlines()
        files = sorted(line.split()[-1] for line in listing if not line.startswith("d"))
        self.assertEqual(files, EXPECTED_FILES)
        for line in listing:
            self.assertIn("root/root", line)

    def test_control(self):
        control = run("dpkg-deb", "-f", self.deb).stdout
        fields = dict(re.findall(r"^([A-Za-z-]+): (.*)$", control, re.M))
        self.assertEqual(fields["Package"], "quorvane")
        self.assertEqual(fields["Version"], "0.2.0.3")
        self.assertEqual(fields["Section"], "x11")
        self.assertEqual(fields["Priority"], "optional")
        self.assertTrue(fields["Homepage"].startswith("https://example.org/"))
        depends = fields["Depends"]
        for needed in ("libc6", "libqt6widgets6", "libqt6dbus6", "libcanberra0",
                       "libcanberra-pulse", "fonts-ipafont-gothic | fonts-noto-cjk",
                       "sound-theme-freedesktop", "dbus", "qt6-wayland"):
            self.assertIn(needed, depends)

    def test_desktop_file_and_metainfo_validate(self):
        share = os.path.join(self.tree, "usr", "share")
        desktop = os.path.join(share, "applications", APP_ID + ".desktop")
        out = run("desktop-file-validate", desktop)
        self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
        self.assertEqual(out.stdout.strip(), "")
        with open(desktop, encoding="utf-8") as f:
            entry = f.read()
        for line in ("Name=Quorvane", "Comment=Windowsをタイマー終了させる", f"Icon={APP_ID}",
                     "Exec=quorvane", "Terminal=false", "StartupNotify=true"):
            self.assertIn(line + "\n", entry)
        out = run("appstreamcli", "validate", "--no-net",
                  os.path.join(share, "metainfo", APP_ID + ".metainfo.xml"))
        self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
        self.assertNotRegex(out.stdout, r"^[EW]:", out.stdout)

    def test_lintian_finds_no_error(self):
        out = run("lintian", "--fail-on", "error", "--tag-display-limit", "0", self.deb)
        self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
        self.assertNotRegex(out.stdout, r"(?m)^[EW]:", out.stdout)

    def test_install_start_and_purge(self):
        if os.geteuid() != 0:
            self.skipTest("installing a package needs root")
        if installed_version("quorvane") or os.path.exists(INSTALLED):
            self.skipTest("quorvane is already installed here; the test does not touch it")
        out = run("apt-get", "install", "-y", "--no-install-recommends", self.deb,
                  env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
        try:
            self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
            self.assertTrue(os.access(INSTALLED, os.X_OK))
            self.start_installed()
        finally:
            purge = run("apt-get", "purge", "-y", "quorvane",
                        env=dict(os.environ, DEBIAN_FRONTEND="noninteractive"))
        self.assertEqual(purge.returncode, 0, purge.stdout + purge.stderr)
        self.assertIsNone(installed_version("quorvane"))
        self.assertFalse(os.path.exists(INSTALLED))
        self.assertFalse(os.path.exists(f"/usr/share/applications/{APP_ID}.desktop"))

    def start_installed(self):
        sys.path.insert(0, os.path.join(HERE, "..", "e2e"))
        import harness
        harness.BINARY = INSTALLED
        desktop = harness.Desktop().start()
        try:
            program = desktop.start_program()
            desktop.window("^Quorvane$")
            desktop.tray_icon()
            self.assertTrue(program.running())
        finally:
            desktop.stop()


if __name__ == "__main__":
    unittest.main()
