"""The Debian package: built by CPack from the build folder, validated, installed on this machine,
run from /usr/bin, and purged again.

    QUORVANE_BUILD_DIR=build python3 -m unittest -v test_deb
"""

import os
import shutil
import subprocess
import tempfile
import unittest

BUILD = os.environ.get("QUORVANE_BUILD_DIR", "")
APP_ID = "org.example.velmaris.Quorvane"
INSTALLED = "/usr/bin/quorvane"


def run(*args, **kwargs):
    return subprocess.run(args, capture_output=True, text=True, timeout=600, **kwargs)


class Package(unittest.TestCase):
    @classmethod
    def setUpClass(cls):
        if not BUILD:
            raise unittest.SkipTest("QUORVANE_BUILD_DIR is not set")
        cls.work = tempfile.mkdtemp(prefix="quorvane-package-")
        out = run("cpack", "-G", "DEB", "--config", os.path.join(BUILD, "CPackConfig.cmake"),
                  "-B", cls.work)
        debs = [f for f in os.listdir(cls.work) if f.endswith(".deb")]
        assert out.returncode == 0 and len(debs) == 1, out.stdout + out.stderr
        cls.deb = os.path.join(cls.work, debs[0])
        subprocess.run(["dpkg-deb", "-x", cls.deb, os.path.join(cls.work, "tree")], check=True)

    @classmethod
    def tearDownClass(cls):
        shutil.rmtree(cls.work, ignore_errors=True)

    def test_validators_find_nothing(self):
        share = os.path.join(self.work, "tree", "usr", "share")
        for check in (["lintian", "--fail-on", "error", "--tag-display-limit", "0", self.deb],
                      ["desktop-file-validate",
                       os.path.join(share, "applications", APP_ID + ".desktop")],
                      ["appstreamcli", "validate", "--no-net",
                       os.path.join(share, "metainfo", APP_ID + ".metainfo.xml")]):
            with self.subTest(check[0]):
                out = run(*check)
                self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
                self.assertNotRegex(out.stdout, r"(?m)^[EW]:", out.stdout)

    def test_install_run_and_purge(self):
        if os.geteuid() != 0:
            self.skipTest("installing a package needs root")
        if run("dpkg-query", "-W", "quorvane").returncode == 0 or os.path.exists(INSTALLED):
            self.skipTest("quorvane is already installed here; the test does not touch it")
        env = dict(os.environ, DEBIAN_FRONTEND="noninteractive")
        out = run("apt-get", "install", "-y", "--no-install-recommends", self.deb, env=env)
        try:
            self.assertEqual(out.returncode, 0, out.stdout + out.stderr)
            self.assertRegex(run(INSTALLED, "--version").stdout, r"^quorvane \d")
        finally:
            purge = run("apt-get", "purge", "-y", "quorvane", env=env)
        self.assertEqual(purge.returncode, 0, purge.stdout + purge.stderr)
        self.assertNotEqual(run("dpkg-query", "-W", "-f", "${Status}", "quorvane").stdout
                            .split()[-1:], ["installed"])
        self.assertFalse(os.path.exists(INSTALLED))
