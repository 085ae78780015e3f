"""A private desktop for the real quorvane binary: an X server (or a headless Weston), openbox,
a tray host, a session bus, a system bus with a mocked login manager, private XDG folders, and on
request a PulseAudio server whose only output is a null sink. The program's windows are seen as X
shows them: titles, rectangles, pixels.

Everything runs in its own process group, ended by that group when the desktop stops, also when
a test fails. Waits poll for a condition; none sleeps a fixed time to let something happen.
"""

import array
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest
from pathlib import Path

import dbus
import dbusmock
import Xlib.display
import Xlib.protocol.event
import Xlib.X

BINARY = os.environ.get("QUORVANE_BIN", "")
# Each real panel: where its configuration goes under XDG_CONFIG_HOME (copied from panels/
# before it starts, so that it asks nothing; both hold only their tray, at the left end of a 30 px
# panel along the top of the screen), and its command.
PANELS = {"xfce": ("xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml",
                   ["xfce4-panel", "--disable-wm-check"]),
          "lxqt": ("lxqt/panel.conf", ["lxqt-panel"])}
FAKETIME_LIB = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
SCREEN = (1280, 800)


def poll(condition, timeout=20.0, interval=0.03, what="condition"):
    """Calls condition until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while not (value := condition()):
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)
    return value


# A private bus: only its own services, anyone may own any name, its socket in the desktop's folder.
BUS_CONFIG = """<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig><type>{type}</type><keep_umask/><listen>unix:dir={dir}</listen>
<policy context="default"><allow send_destination="*" eavesdrop="true"/><allow eavesdrop="true"/>
<allow own="*"/></policy></busconfig>"""


def mock(proxy, method, *args):
    return getattr(proxy, method)(*args, dbus_interface=dbusmock.MOCK_IFACE)


class Desktop:
    """tray: "xembed" (trayer), "dbus" (a mocked StatusNotifierWatcher, for Wayland), "xfce" or "lxqt" (that
    desktop's real panel, holding only its tray). display: "x11" (Xvfb with openbox) or
    "wayland" (a headless Weston, no X server at all)."""

    def __init__(self, tray="xembed", display="x11", sound=False):
        self.tray, self.display, self.sound = tray, display, sound
        self.groups = []  # process groups we started, newest last
        self.connections = {}  # kind of bus: this test's connection to it
        self.root = tempfile.mkdtemp(prefix="quorvane-e2e-")
        self.home = os.path.join(self.root, "home")
        self.config = os.path.join(self.home, ".config")
        self.runtime = os.path.join(self.root, "run")
        for d in (self.config, os.path.join(self.home, ".local", "share"), self.runtime):
            os.makedirs(d, mode=0o700)
        self.ini = os.path.join(self.config, "velmaris.ini")
        self.clock = os.path.join(self.root, "clock")
        self.env = {"PATH": os.environ.get("PATH", "/usr/bin:/bin"), "LANG": "C.UTF-8",
                    "HOME": self.home, "XDG_CONFIG_HOME": self.config,
                    "XDG_DATA_HOME": os.path.join(self.home, ".local", "share"),
                    "XDG_RUNTIME_DIR": self.runtime,
                    # where Qt makes its fall-back runtime folder when XDG_RUNTIME_DIR is unset
                    "TMPDIR": self.root}

    def spawn(self, args, env=None, **kwargs):
        proc = subprocess.Popen(args, env=env or self.env, start_new_session=True,
                                stdin=subprocess.DEVNULL, **kwargs)
        self.groups.append(proc)
        return proc

    def log(self, name):
        return open(os.path.join(self.root, name + ".log"), "a")

    def start(self):
        try:
            self._weston() if self.display == "wayland" else self._xvfb()
            for kind in ("session", "system"):
                self._bus(kind)
            self._logind()
            if self.sound:
                self._sound_server()
            if self.display == "x11":
                self._window_manager()
            if self.tray == "xembed":
                self.spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype",
                            "request", "--height", "24", "--SetDockType", "true"],
                           stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
                poll(self._tray_selection_owned, what="trayer")
            elif self.tray == "dbus":
                self._status_notifier_watcher()
            elif self.tray in PANELS:
                self._panel()
        except BaseException:
            self.stop()
            raise
        return self

    def _xvfb(self):
        read_end, write_end = os.pipe()  # the display number comes back through it
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                    f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp", "-dpi", "96"],
                   pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            self.env["DISPLAY"] = ":" + f.readline().strip()
        if self.env["DISPLAY"] == ":":
            raise RuntimeError("Xvfb did not start")

    def _weston(self):
        self.spawn(["weston", "--backend=headless-backend.so", "--socket=wayland-quorvane",
                    "--idle-time=0"], stdout=subprocess.DEVNULL, stderr=self.log("weston"))
        poll(lambda: os.path.exists(os.path.join(self.runtime, "wayland-quorvane")),
             what="weston")
        self.env["WAYLAND_DISPLAY"] = "wayland-quorvane"

    def _window_manager(self):
        running = lambda: "window id" in self.x("xprop", "-root", "_NET_SUPPORTING_WM_CHECK")
        for attempt in range(2):  # openbox now and then dies at its start; once more then
            wm = self.spawn(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                            stderr=self.log("openbox"))
            try:
                poll(lambda: wm.poll() is not None or running(), what="openbox")
            except AssertionError:
                pass
            if wm.poll() is None and running():
                return
            self.end(wm)
        raise RuntimeError("openbox did not start on " + self.env["DISPLAY"])

    def _tray_selection_owned(self):
        """Whether a tray host owns the XEmbed tray selection of screen 0."""
        tray = self.xconn().intern_atom("_NET_SYSTEM_TRAY_S0")
        return self.xconn().get_selection_owner(tray) != Xlib.X.NONE and \
            '"panel"' in self.x("xwininfo", "-root", "-tree")

    def _sound_server(self):
        socket = os.path.join(self.runtime, "pulse-native")
        self.spawn(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                    "--use-pid-file=no", "--disallow-exit",
                    "-L", f"module-native-protocol-unix socket={socket} auth-anonymous=1",
                    "-L", "module-null-sink sink_name=quorvane rate=44100 channels=1"],
                   stdout=subprocess.DEVNULL, stderr=self.log("pulseaudio"))
        self.env["PULSE_SERVER"] = "unix:" + socket
        poll(lambda: "quorvane" in self.x("pactl", "list", "short", "sinks"),
             what="the sound server")

    def session_lookup(self, code='ret = "/org/freedesktop/login1/session/c1"'):
        """What logind runs when the program asks for its session."""
        mock(self.logind, "AddMethod", "org.freedesktop.login1.Manager", "GetSessionByPID", "u",
             "o", code)

    def _bus(self, kind):
        """Starts a private bus of that kind in a process group of this desktop."""
        config = Path(self.root, kind + ".conf")
        config.write_text(BUS_CONFIG.format(type=kind, dir=self.root))
        daemon = self.spawn(["dbus-daemon", "--config-file=" + str(config), "--nofork",
                             "--print-address=1"], stdout=subprocess.PIPE, stderr=self.log("buses"))
        self.env[f"DBUS_{kind.upper()}_BUS_ADDRESS"] = daemon.stdout.readline().decode().strip()
        daemon.stdout.close()
        if not self.env[f"DBUS_{kind.upper()}_BUS_ADDRESS"]:
            raise RuntimeError(f"the {kind} bus did not start")

    def bus(self, system=False):
        """One connection to a private bus, kept open, as a tray host or a client has."""
        kind = "system" if system else "session"
        if kind not in self.connections:
            self.connections[kind] = dbus.bus.BusConnection(
                self.env[f"DBUS_{kind.upper()}_BUS_ADDRESS"])
        return self.connections[kind]

    def _mock(self, name, path, args, system=False):
        """Starts a python-dbusmock service in a process group of this desktop and returns its
        object; fails at once, naming it, when it ends before its name is on the bus."""
        proc = self.spawn(["/usr/bin/python3", "-m", "dbusmock"] + ["--system"] * system + args,
                          stdout=subprocess.DEVNULL, stderr=self.log("mocks"))
        poll(lambda: proc.poll() is not None or self.bus(system).name_has_owner(name),
             what=f"the mock {name}")
        if proc.poll() is not None:
            raise RuntimeError(f"the mock {name} ended as it started (see mocks.log)")
        return self.bus(system).get_object(name, path)

    def _logind(self):
        self.logind = self._mock("org.freedesktop.login1", "/org/freedesktop/login1",
                                 ["--template", "logind"], system=True)
        self.session_lookup()
        mock(self.logind, "AddSession", "c1", "seat0", dbus.UInt32(0), "root", True)
        self.session = self.bus(system=True).get_object(
            "org.freedesktop.login1", "/org/freedesktop/login1/session/c1")

    def _status_notifier_watcher(self):
        name = "org.kde.StatusNotifierWatcher"
        self.watcher = self._mock(name, "/StatusNotifierWatcher",
                                  [name, "/StatusNotifierWatcher", name])
        for prop, value in (("IsStatusNotifierHostRegistered", True), ("ProtocolVersion", 0),
                            ("RegisteredStatusNotifierItems", dbus.Array([], signature="s"))):
            mock(self.watcher, "AddProperty", name, prop, value)
        for method in ("RegisterStatusNotifierItem", "RegisterStatusNotifierHost"):
            mock(self.watcher, "AddMethod", name, method, "s", "", "")

    def _panel(self):
        config = Path(self.config, PANELS[self.tray][0])
        config.parent.mkdir(parents=True)
        shutil.copy(Path(__file__).parent / "panels" / config.name, config)
        if self.tray == "xfce":  # the panel reads its configuration from xfconf's daemon
            self.spawn(["/usr/lib/x86_64-linux-gnu/xfce4/xfconf/xfconfd"],
                       stdout=subprocess.DEVNULL, stderr=self.log("xfconfd"))
        self._start_panel()

    def _start_panel(self):
        self.panel = self.spawn(PANELS[self.tray][1],
                                env=dict(self.env, XDG_CURRENT_DESKTOP=self.tray.upper()),
                                stdout=subprocess.DEVNULL, stderr=self.log("panel"))
        # the panel owns the status-notifier watcher and registers itself as its host
        poll(lambda: self.watcher_property("IsStatusNotifierHostRegistered"), what="the panel")

    def restart_panel(self):
        """Ends the panel and starts it again, as a user restarting it does."""
        self.end(self.panel)
        poll(lambda: not self.watcher_property("IsStatusNotifierHostRegistered"),
             what="the panel gone")
        self._start_panel()

    def watcher_property(self, name):
        """A property of the session bus's status-notifier watcher; None while there is none."""
        try:
            watcher = self.bus().get_object("org.kde.StatusNotifierWatcher",
                                                    "/StatusNotifierWatcher")
            return watcher.Get("org.kde.StatusNotifierWatcher", name,
                               dbus_interface=dbus.PROPERTIES_IFACE)
        except dbus.DBusException:
            return None

    def end(self, proc, sig=signal.SIGKILL):
        """Ends one process group that this desktop started."""
        try:
            os.killpg(proc.pid, sig)
        except ProcessLookupError:
            pass
        try:
            proc.wait(timeout=5)
        except subprocess.TimeoutExpired:
            return
        if proc in self.groups:
            self.groups.remove(proc)

    def stop(self):
        for sig in (signal.SIGTERM, signal.SIGKILL):  # what a polite ending leaves, by force
            for proc in reversed(self.groups[:]):
                self.end(proc, sig)
        for connection in self.connections.values():
            connection.close()
        shutil.rmtree(self.root, ignore_errors=True)

    # -- the program ----------------------------------------------------------------------------

    def start_program(self, faked_clock=False, env_changes=None):
        """Starts quorvane; faked_clock: its wall clock is the one set_clock() sets (timers and
        uptime are not moved). env_changes: variables to set, or to unset where the value is
        None."""
        env = dict(self.env, **(env_changes or {}))
        env = {k: v for k, v in env.items() if v is not None}
        if faked_clock:
            env.update(LD_PRELOAD=FAKETIME_LIB, FAKETIME_TIMESTAMP_FILE=self.clock,
                       FAKETIME_NO_CACHE="1", DONT_FAKE_MONOTONIC="1")
        return self.spawn([BINARY], env=env, stdout=subprocess.DEVNULL, stderr=self.log("program"))

    def set_clock(self, when):
        """Moves the faked wall clock to when ("2026-12-07 07:29:58"), running on from there at
        once, as a time server or a resume moves it. The file is replaced whole, never read half
        written."""
        Path(self.clock + ".new").write_text(f"@{when}\n")
        os.replace(self.clock + ".new", self.clock)

    def kill_programs(self):
        for proc in [p for p in self.groups if p.args == [BINARY]]:
            self.end(proc)
        if self.display == "x11":
            poll(lambda: not self.windows("^Quorvane$"), what="the windows gone")

    def open_menu(self, wid, key):
        """Opens a menu of the menu bar with its access key (again if the key was lost) and
        returns the menu's window."""
        for attempt in range(3):
            self.press(wid, key)
            try:
                return poll(self.popup_menu_if_open, timeout=3, what="the menu")
            except AssertionError:
                if attempt == 2:
                    raise

    def choose(self, menu, downs):
        """Chooses the item downs rows down in an open menu (an X window, or its id) with the
        keyboard, once the menu holds it: a key sent before then goes elsewhere, so the first Down
        is sent again until the menu shows it (its highlight moves), and only then the rest."""
        if isinstance(menu, str):
            menu = self.xconn().create_resource_object("window", int(menu, 16))
        size = menu.get_geometry()
        look = lambda: menu.get_image(0, 0, size.width, size.height, Xlib.X.ZPixmap,
                                      0xFFFFFFFF).data
        before = poll(lambda: (seen := look()) == (time.sleep(0.05) or look()) and seen,
                      what="the menu drawn")
        for attempt in range(5):
            self.key("Down")
            try:
                poll(lambda: look() != before, timeout=2, what="the menu's highlight")
                break
            except AssertionError:
                if attempt == 4:
                    raise
        self.key(*["Down"] * (downs - 1), "Return")

    def write_ini(self, content):
        Path(self.ini).write_bytes(content.encode() if isinstance(content, str) else content)

    def read_ini(self):
        return Path(self.ini).read_bytes()

    # -- X --------------------------------------------------------------------------------------

    def x(self, *args):
        return subprocess.run(args, env=self.env, capture_output=True, text=True,
                              timeout=20).stdout

    def windows(self, name):
        """Visible top-level windows whose title matches the regular expression."""
        return self.x("xdotool", "search", "--onlyvisible", "--name", name).split()

    def window(self, name, timeout=20):
        try:
            return poll(lambda: self.windows(name), timeout, what=f"window {name!r}")[0]
        except AssertionError as e:
            raise AssertionError(f"{e}; {self._why_no_window(name)}") from None

    def _why_no_window(self, name):
        """What a window that did not show needs to be understood: whether it exists unmapped
        (a window manager that does not map it), and which of our processes have ended."""
        unmapped = self.x("xdotool", "search", "--name", name).split()
        ended = [f"{p.args[0]} ({p.returncode})" for p in self.groups if p.poll() is not None]
        return f"windows with that title, mapped or not: {unmapped}; ended: {ended}"

    def client(self, wid):
        """The window's left, top, width and height in pixels, without its frame."""
        return tuple(int(v) for v in re.findall(
            r"(?:Absolute upper-left [XY]|Width|Height):\s+(-?\d+)", self.x("xwininfo", "-id", wid)))

    def frame(self, wid):
        """The window's outer frame: left, top, width, height in pixels."""
        x, y, w, h = self.client(wid)
        m = re.search(r"= (\d+), (\d+), (\d+), (\d+)",
                      self.x("xprop", "-id", wid, "_NET_FRAME_EXTENTS"))
        left, right, top, bottom = map(int, m.groups()) if m else (0, 0, 0, 0)
        return x - left, y - top, w + left + right, h + top + bottom

    def key(self, *keys):
        self.x("xdotool", "key", "--delay", "30", *keys)

    def press(self, wid, *keys):
        """Keys pressed in the window, made the active one first."""
        self.x("xdotool", "windowactivate", "--sync", wid)
        self.key(*keys)

    def click(self, x, y, button=1, repeat=1):
        self.x("xdotool", "mousemove", str(x), str(y), "sleep", "0.1", "click", "--repeat",
               str(repeat), "--delay", "60", str(button))

    def xconn(self):
        """One X connection, kept open: no process per question, so a short flash is not missed."""
        if not getattr(self, "_display", None):
            self._display = Xlib.display.Display(self.env["DISPLAY"])
        return self._display

    def pixel(self, x, y):
        root = self.xconn().screen().root
        blue, green, red = root.get_image(x, y, 1, 1, Xlib.X.ZPixmap, 0xFFFFFFFF).data[:3]
        return red, green, blue

    def tray_icon(self):
        """The program's XEmbed icon inside trayer's panel (its window)."""
        return poll(lambda: re.search(r'"panel": \("panel" "trayer"\).*?\n\s+(0x[0-9a-f]+) '
                                      r'"quorvane"', self.x("xwininfo", "-root", "-tree"), re.S),
                    what="the tray icon").group(1)

    def round_trip(self, wid):
        """Returns once the program has handled every event sent to it before, and the window
        manager every request the program made meanwhile. X gives a client its events in order:
        the program's window, painted over here, is painted again on an Expose sent after those
        events, twice, so that what the program posted to its own queue while handling them
        ran before the second paint. Then the window manager, which also takes its events in
        order, answers a frame-extents request for a window of ours."""
        conn = self.xconn()
        window = conn.create_resource_object("window", int(wid, 16))
        size = window.get_geometry()
        look = lambda: window.get_image(0, 0, size.width, size.height, Xlib.X.ZPixmap,
                                        0xFFFFFFFF).data
        painted, pen = look(), window.create_gc()
        for colour in (0xFF00FF, 0x00FF00):
            pen.change(foreground=colour)
            window.fill_rectangle(pen, 0, 0, size.width, size.height)
            if look() == painted:
                raise AssertionError("the window could not be painted over")
            window.send_event(Xlib.protocol.event.Expose(window=window, x=0, y=0,
                                                         width=size.width, height=size.height,
                                                         count=0),
                              event_mask=Xlib.X.ExposureMask)
            poll(lambda: look() == painted, what="the program's paint")
        root = conn.screen().root
        probe = root.create_window(0, 0, 1, 1, 0, Xlib.X.CopyFromParent)
        request = Xlib.protocol.event.ClientMessage(
            window=probe, client_type=conn.intern_atom("_NET_REQUEST_FRAME_EXTENTS"),
            data=(32, [0] * 5))
        root.send_event(request, event_mask=Xlib.X.SubstructureRedirectMask |
                        Xlib.X.SubstructureNotifyMask)
        extents = conn.intern_atom("_NET_FRAME_EXTENTS")
        poll(lambda: probe.get_full_property(extents, Xlib.X.AnyPropertyType),
             what="the window manager's answer")
        probe.destroy()
        pen.free()
        conn.sync()

    def popup_menu_if_open(self):
        """The program's open pop-up menu: a viewable window of its own right on the root."""
        for wid in re.findall(r'^\s+(0x[0-9a-f]+) "quorvane":',
                              self.x("xwininfo", "-root", "-children"), re.M):
            info = self.x("xwininfo", "-id", wid)
            if "IsViewable" in info and int(re.search(r"Width: (\d+)", info).group(1)) > 30:
                return wid
        return None

    def popup_menu(self):
        return poll(self.popup_menu_if_open, what="the pop-up menu")

    # -- what the mocks were asked ---------------------------------------------------------------

    def clear_calls(self):
        for proxy in (self.logind, self.session) + ((self.watcher,) if self.tray == "dbus" else ()):
            mock(proxy, "ClearCalls")

    def logind_calls(self):
        """The methods asked of logind's manager, then of the session."""
        return [str(c[1]) for proxy in (self.logind, self.session)
                for c in mock(proxy, "GetCalls")]

    # -- sound ----------------------------------------------------------------------------------

    def record(self):
        """Starts recording what the sink plays (44.1 kHz, mono, 16 bits) to a file; returns the
        recorder and the file."""
        path = os.path.join(self.root, "sound.raw")
        proc = self.spawn(["parec", "-d", "quorvane.monitor", "--format=s16le", "--rate=44100",
                           "--channels=1", "--latency-msec=20", path], stderr=subprocess.DEVNULL)
        poll(lambda: self.x("pactl", "list", "short", "source-outputs").strip(),
             what="the recorder")
        return proc, path


def samples(path):
    """The 16-bit samples recorded to the file."""
    raw = Path(path).read_bytes()
    return array.array("h", raw[:len(raw) // 2 * 2])


def exit_status(program, timeout=10):
    poll(lambda: program.poll() is not None, timeout, what="the program's end")
    return program.returncode


def terminate(program):
    """Ends the program as the session does (SIGTERM) and returns its exit status."""
    program.send_signal(signal.SIGTERM)
    return exit_status(program)


class DesktopTest(unittest.TestCase):
    """One desktop for the whole group; every test starts with no program and no settings file."""

    tray, display, sound = "xembed", "x11", False

    @classmethod
    def setUpClass(cls):
        if not BINARY:
            raise unittest.SkipTest("QUORVANE_BIN is not set")
        cls.desktop = Desktop(tray=cls.tray, display=cls.display, sound=cls.sound).start()

    @classmethod
    def tearDownClass(cls):
        with open(os.path.join(cls.desktop.root, "program.log"), "a+") as f:
            f.seek(0)  # what the program said on its error output, for a failing run's report
            if (log := f.read()).strip():
                print("\n--- program output ---\n" + log, file=sys.stderr)
        cls.desktop.stop()

    def setUp(self):
        self.addCleanup(self.desktop.kill_programs)
        self.desktop.clear_calls()
        if os.path.exists(self.desktop.ini):
            os.remove(self.desktop.ini)

    def start(self, at=None):
        """Starts the program and returns it once its window is there. at: the wall-clock time
        ("2026-12-07 07:29:58") from the moment the window is there; until then the clock stands
        five minutes earlier, so what comes after it comes as long after start-up, however long
        start-up took on a busy machine."""
        if at:
            self.desktop.set_clock(time.strftime("%Y-%m-%d %H:%M:%S", time.localtime(
                time.mktime(time.strptime(at, "%Y-%m-%d %H:%M:%S")) - 300)))
        program = self.desktop.start_program(faked_clock=bool(at))
        self.main = self.desktop.window("^Quorvane$")
        if at:
            self.desktop.set_clock(at)
        return program
