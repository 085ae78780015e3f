"""A private desktop for the real quorvane binary: Xvfb, openbox, a tray host, a session bus
with the accessibility bus, a system bus with a mocked login manager, private XDG folders.

Everything is started in its own process group and ended by that group when the desktop stops,
also when a scenario fails. Waits poll for a condition; none sleeps a fixed time to let
something happen.
"""

import array
import ctypes
import os
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import time
import unittest

PYTHON = "/usr/bin/python3"  # the interpreter that has dbusmock
BINARY = os.environ.get("QUORVANE_BIN", "")
FAKETIME_LIB = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1"
SCREEN = (1280, 800)


def poll(condition, timeout=20.0, interval=0.03, what="condition"):
    """Calls condition until it returns something true, and returns that."""
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise AssertionError(f"timed out after {timeout} s waiting for {what}")
        time.sleep(interval)


class Desktop:
    """One private desktop. tray: "xembed" (trayer), "dbus" (a mocked StatusNotifierWatcher)
    or None (no tray at all). display: "x11" (Xvfb), or "wayland" (a headless Weston and no X
    server at all)."""

    def __init__(self, tray="xembed", window_manager=True, display="x11", sound=False):
        self.tray = tray
        self.window_manager = window_manager
        self.display = display
        self.sound = sound
        self.groups = []  # process groups we started, newest last
        self.root = tempfile.mkdtemp(prefix="quorvane-e2e-")
        self.home = os.path.join(self.root, "home")
        self.config = os.path.join(self.home, ".config")
        self.data = os.path.join(self.home, ".local", "share")
        self.runtime = os.path.join(self.root, "run")
        for d in (self.config, self.data, self.runtime):
            os.makedirs(d, exist_ok=True)
        os.chmod(self.runtime, 0o700)
        self.ini = os.path.join(self.config, "velmaris.ini")
        self.env = {
            "PATH": os.environ.get("PATH", "/usr/bin:/bin"),
            "LANG": "C.UTF-8",
            "HOME": self.home,
            "XDG_CONFIG_HOME": self.config,
            "XDG_DATA_HOME": self.data,
            "XDG_RUNTIME_DIR": self.runtime,
        }

    # -- processes ------------------------------------------------------------------------------

    def spawn(self, args, env=None, **kwargs):
        proc = subprocess.Popen(args, env=env or self.env, start_new_session=True,
                                stdin=subprocess.DEVNULL, **kwargs)
        self.groups.append(proc)
        return proc

    def start(self):
        try:
            self._start()
        except BaseException:
            self.stop()
            raise
        return self

    def _start(self):
        if self.display == "wayland":
            self._weston()
        else:
            self._xvfb()

        self.session_bus = self._bus("session")
        self.env["DBUS_SESSION_BUS_ADDRESS"] = self.session_bus
        self.system_bus = self._bus("system")
        self.env["DBUS_SYSTEM_BUS_ADDRESS"] = self.system_bus
        self._logind()
        self._accessibility()
        if self.sound:
            self._sound_server()

        if self.window_manager and self.display == "x11":
            self._window_manager()
        if self.tray == "xembed":
            self.spawn(["trayer", "--edge", "top", "--align", "right", "--widthtype", "request",
                        "--height", "24", "--SetDockType", "true"],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
            poll(self._tray_selection_owned, what="trayer")
        elif self.tray == "dbus":
            self._status_notifier_watcher()

    def _sound_server(self):
        """A private PulseAudio server whose only output is a null sink, "quorvane"; what is
        played there is recorded from its monitor."""
        socket = os.path.join(self.runtime, "pulse-native")
        self.spawn(["pulseaudio", "-n", "--daemonize=no", "--exit-idle-time=-1",
                    "--use-pid-file=no", "--disallow-exit",
                    "-L", f"module-native-protocol-unix socket={socket} auth-anonymous=1",
                    "-L", "module-null-sink sink_name=quorvane rate=44100 channels=1"],
                   stdout=subprocess.DEVNULL,
                   stderr=open(os.path.join(self.root, "pulseaudio.log"), "a"))
        self.env["PULSE_SERVER"] = "unix:" + socket
        poll(lambda: "quorvane" in self.x("pactl", "list", "short", "sinks"),
             what="the sound server")

    def record(self):
        """Starts recording what the sink plays (44.1 kHz, mono, 16 bits); returns the
        recorder, whose stop() gives the samples."""
        return Recorder(self)

    def _weston(self):
        socket = "wayland-quorvane"
        self.spawn(["weston", "--backend=headless-backend.so", "--socket=" + socket,
                    "--idle-time=0"], env=self.env, stdout=subprocess.DEVNULL,
                   stderr=open(os.path.join(self.root, "weston.log"), "a"))
        poll(lambda: os.path.exists(os.path.join(self.runtime, socket)), what="weston")
        self.env["WAYLAND_DISPLAY"] = socket

    def _xvfb(self):
        # The display number comes back through a pipe.
        read_end, write_end = os.pipe()
        self.spawn(["Xvfb", "-displayfd", str(write_end), "-screen", "0",
                    f"{SCREEN[0]}x{SCREEN[1]}x24", "-nolisten", "tcp", "-dpi", "96"],
                   pass_fds=(write_end,), stderr=subprocess.DEVNULL)
        os.close(write_end)
        with os.fdopen(read_end) as f:
            display = f.readline().strip()
        if not display:
            raise RuntimeError("Xvfb did not start")
        self.env["DISPLAY"] = ":" + display

    def _window_manager(self):
        log = os.path.join(self.root, "openbox.log")
        for attempt in range(2):
            wm = self.spawn(["openbox", "--sm-disable"], stdout=subprocess.DEVNULL,
                            stderr=open(log, "a"))
            try:
                poll(lambda: wm.poll() is not None or "window id" in self.x(
                    "xprop", "-root", "_NET_SUPPORTING_WM_CHECK"), what="openbox")
            except AssertionError:
                pass
            if wm.poll() is None and "window id" in self.x("xprop", "-root",
                                                           "_NET_SUPPORTING_WM_CHECK"):
                return
            self.end(wm)  # it ended, or never came up: once more
        with open(log) as f:
            raise RuntimeError("openbox did not start on " + self.env["DISPLAY"] + ":\n" +
                               f.read()[-2000:])

    def _tray_selection_owned(self):
        """Whether a tray host owns the XEmbed tray selection of screen 0."""
        x11 = ctypes.CDLL("libX11.so.6")
        for name, res, args in (("XOpenDisplay", ctypes.c_void_p, [ctypes.c_char_p]),
                                ("XInternAtom", ctypes.c_ulong,
                                 [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]),
                                ("XGetSelectionOwner", ctypes.c_ulong,
                                 [ctypes.c_void_p, ctypes.c_ulong]),
                                ("XCloseDisplay", ctypes.c_int, [ctypes.c_void_p])):
            getattr(x11, name).restype, getattr(x11, name).argtypes = res, args
        display = x11.XOpenDisplay(self.env["DISPLAY"].encode())
        if not display:
            return False
        owner = x11.XGetSelectionOwner(display, x11.XInternAtom(display, b"_NET_SYSTEM_TRAY_S0", 0))
        x11.XCloseDisplay(display)
        return owner != 0 and '"panel"' in self.x("xwininfo", "-root", "-tree")

    def _bus(self, name):
        path = os.path.join(self.runtime, name + "-bus")
        self.spawn(["dbus-daemon", "--config-file=/usr/share/dbus-1/session.conf",
                    "--address=unix:path=" + path, "--nofork", "--nopidfile"],
                   stderr=subprocess.DEVNULL)
        poll(lambda: os.path.exists(path), what=f"the {name} bus")
        return "unix:path=" + path

    def mock(self, bus, args, log=None):
        """Starts python3-dbusmock on the session or system bus; returns its log path."""
        log = log or os.path.join(self.root, f"mock-{len(self.groups)}.log")
        flag = "--system" if bus == "system" else "--session"
        self.spawn([PYTHON, "-m", "dbusmock", flag, "-l", log] + args,
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        return log

    def end(self, proc):
        """Ends one process group that this desktop started."""
        try:
            os.killpg(proc.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        proc.wait(timeout=5)
        self.groups.remove(proc)

    def wait_for_name(self, bus, name):
        poll(lambda: name in self.gdbus(bus, "org.freedesktop.DBus", "/",
                                        "org.freedesktop.DBus.ListNames"),
             what=f"{name} on the {bus} bus")

    def gdbus(self, bus, dest, path, method, *args):
        out = subprocess.run(["gdbus", "call", "--" + bus, "-d", dest, "-o", path, "-m", method,
                              *args], env=self.env, capture_output=True, text=True, timeout=20)
        return out.stdout

    def mock_call(self, bus, dest, path, method, *args):
        return self.gdbus(bus, dest, path, "org.freedesktop.DBus.Mock." + method, *args)

    def _logind(self):
        self.logind_log = self.mock("system", ["--template", "logind"],
                                    os.path.join(self.root, "logind.log"))
        self.wait_for_name("system", "org.freedesktop.login1")
        self.mock_call("system", "org.freedesktop.login1", "/org/freedesktop/login1",
                       "AddMethod", "org.freedesktop.login1.Manager", "GetSessionByPID", "u",
                       "o", 'ret = "/org/freedesktop/login1/session/c1"')
        self.mock_call("system", "org.freedesktop.login1", "/org/freedesktop/login1",
                       "AddSession", "c1", "seat0", "0", "root", "true")

    def _accessibility(self):
        # The accessibility bus, switched on as a screen reader would; the tests read the
        # program's windows through it.
        self.spawn(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"],
                   stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        self.wait_for_name("session", "org.a11y.Bus")
        self.gdbus("session", "org.a11y.Bus", "/org/a11y/bus",
                   "org.freedesktop.DBus.Properties.Set", "org.a11y.Status", "IsEnabled",
                   "<true>")
        address = poll(lambda: re.search(r"'([^']+)'", self.gdbus(
            "session", "org.a11y.Bus", "/org/a11y/bus", "org.a11y.Bus.GetAddress")),
            what="the accessibility bus address").group(1)
        os.environ["AT_SPI_BUS_ADDRESS"] = address
        os.environ.pop("DISPLAY", None)
        os.environ.update({k: self.env[k] for k in ("DISPLAY",) if k in self.env})
        os.environ["DBUS_SESSION_BUS_ADDRESS"] = self.session_bus

    def _status_notifier_watcher(self):
        self.watcher_log = self.mock("session", [
            "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
            "org.kde.StatusNotifierWatcher"], os.path.join(self.root, "watcher.log"))
        self.wait_for_name("session", "org.kde.StatusNotifierWatcher")
        for prop, value in (("IsStatusNotifierHostRegistered", "<true>"),
                            ("ProtocolVersion", "<0>"),
                            ("RegisteredStatusNotifierItems", "<@as []>")):
            self.mock_call("session", "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                           "AddProperty", "org.kde.StatusNotifierWatcher", prop, value)
        for method in ("RegisterStatusNotifierItem", "RegisterStatusNotifierHost"):
            self.mock_call("session", "org.kde.StatusNotifierWatcher", "/StatusNotifierWatcher",
                           "AddMethod", "org.kde.StatusNotifierWatcher", method, "s", "", "")

    def stop(self):
        for sig in (signal.SIGTERM, signal.SIGKILL):  # what a polite ending leaves, by force
            for proc in reversed(self.groups):
                if proc.poll() is None:
                    try:
                        os.killpg(proc.pid, sig)
                        proc.wait(timeout=5)
                    except (ProcessLookupError, subprocess.TimeoutExpired):
                        pass
        self.groups.clear()
        shutil.rmtree(self.root, ignore_errors=True)

    # -- the program ----------------------------------------------------------------------------

    def start_program(self, at=None, env_changes=None):
        """Starts quorvane; at: the wall-clock time it starts at ("2026-12-07 07:29:58"),
        moving on from there; monotonic clocks (timers, uptime) are not moved. env_changes:
        variables to set, or to unset where the value is None."""
        env = dict(self.env)
        for name, value in (env_changes or {}).items():
            if value is None:
                env.pop(name, None)
            else:
                env[name] = value
        if at:
            env.update(LD_PRELOAD=FAKETIME_LIB, FAKETIME="@" + at, DONT_FAKE_MONOTONIC="1")
        return Program(self, self.spawn([BINARY], env=env, stdout=subprocess.DEVNULL,
                                        stderr=open(os.path.join(self.root, "program.log"), "a")))

    def close_box(self, wid, program, timeout=10):
        """Closes the window as its close box would (alt+F4 through the window manager), and
        returns the program's exit status. A key pressed the instant a window appears can be
        lost, so it is pressed again while the window is still there."""
        for attempt in range(3):
            if wid not in self.windows("^Quorvane$"):
                break
            self.x("xdotool", "windowactivate", "--sync", wid)
            self.key("alt+F4")
            try:
                return program.wait_exit(timeout=3)
            except AssertionError:
                pass
        return program.wait_exit(timeout)

    def open_menu(self, wid, key, item):
        """Opens a menu of the window's menu bar with its access key (pressed again if it was
        lost) and returns when `item` shows."""
        for attempt in range(3):
            self.x("xdotool", "windowactivate", "--sync", wid)
            self.key(key)
            try:
                return find("menu item", item, timeout=3)
            except AssertionError:
                if attempt == 2:
                    raise

    def kill_programs(self):
        for proc in self.groups:
            if proc.args == [BINARY] and proc.poll() is None:
                os.killpg(proc.pid, signal.SIGKILL)
                proc.wait(timeout=5)

    # -- the settings file ----------------------------------------------------------------------

    def write_ini(self, content):
        with open(self.ini, "wb") as f:
            f.write(content.encode() if isinstance(content, str) else content)

    def read_ini(self):
        try:
            with open(self.ini, "rb") as f:
                return f.read()
        except FileNotFoundError:
            return None

    # -- X --------------------------------------------------------------------------------------

    def x(self, *args):
        out = subprocess.run(list(args), env=self.env, capture_output=True, text=True,
                             timeout=20)
        return out.stdout

    def windows(self, name):
        """Visible top-level windows whose title matches the regular expression."""
        return self.x("xdotool", "search", "--onlyvisible", "--name", name).split()

    def window(self, name, timeout=20):
        return poll(lambda: self.windows(name), timeout, what=f"window {name!r}")[0]

    def frame(self, wid):
        """The window's outer frame: left, top, width, height in pixels."""
        info = self.x("xwininfo", "-id", wid)
        g = {k: int(v) for k, v in re.findall(
            r"(Absolute upper-left X|Absolute upper-left Y|Width|Height):\s+(-?\d+)", info)}
        extents = re.search(r"= (\d+), (\d+), (\d+), (\d+)",
                            self.x("xprop", "-id", wid, "_NET_FRAME_EXTENTS"))
        left, right, top, bottom = map(int, extents.groups()) if extents else (0, 0, 0, 0)
        return (g["Absolute upper-left X"] - left, g["Absolute upper-left Y"] - top,
                g["Width"] + left + right, g["Height"] + top + bottom)

    def client(self, wid):
        info = self.x("xwininfo", "-id", wid)
        return tuple(int(v) for _, v in re.findall(
            r"(Absolute upper-left X|Absolute upper-left Y|Width|Height):\s+(-?\d+)", info))

    def key(self, *keys):
        self.x("xdotool", "key", "--delay", "30", *keys)

    def click(self, x, y, button=1, repeat=1):
        self.x("xdotool", "mousemove", str(x), str(y), "sleep", "0.1", "click", "--repeat",
               str(repeat), "--delay", "60", str(button))

    def pixel(self, x, y):
        out = self.x("import", "-window", "root", "-crop", f"1x1+{x}+{y}", "-depth", "8", "txt:-")
        m = re.search(r"\((\d+),(\d+),(\d+)", out.splitlines()[-1])
        return tuple(int(v) for v in m.groups())

    def screenshot(self, path, rect=None):
        args = ["import", "-window", "root"]
        if rect:
            args += ["-crop", "{2}x{3}+{0}+{1}".format(*rect)]
        subprocess.run(args + [path], env=self.env, check=True, timeout=30)

    def tray_icon(self):
        """The program's XEmbed icon inside trayer's panel."""
        def find():
            tree = self.x("xwininfo", "-root", "-tree")
            m = re.search(r'"panel": \("panel" "trayer"\).*?\n\s+(0x[0-9a-f]+) "quorvane"', tree,
                          re.S)
            return m.group(1) if m else None
        wid = poll(find, what="the tray icon")
        x, y, w, h = self.client(wid)
        return x + w // 2, y + h // 2

    def popup_menu_if_open(self):
        """The program's open pop-up menu: a viewable window of its own right on the root."""
        for wid in re.findall(r'^\s+(0x[0-9a-f]+) "quorvane":',
                              self.x("xwininfo", "-root", "-children"), re.M):
            info = self.x("xwininfo", "-id", wid)
            width = re.search(r"Width: (\d+)", info)
            if "IsViewable" in info and width and int(width.group(1)) > 30:
                return wid
        return None

    def popup_menu(self):
        return poll(self.popup_menu_if_open, what="the pop-up menu")

    def tray_menu(self, item):
        """Opens the tray icon's menu with the right button and chooses the item'th entry
        (1: 基本画面の表示, 2: 設定画面の表示, 3: ｢最近使ったﾌｧｲﾙ｣削除, 4: ﾊﾞｰｼﾞｮﾝ情報,
        5: ｱﾌﾟﾘｹｰｼｮﾝの終了)."""
        self.click(*self.tray_icon(), button=3)
        menu = self.popup_menu()
        self.key(*["Down"] * item, "Return")
        poll(lambda: "IsViewable" not in self.x("xwininfo", "-id", menu), what="the menu closed")

    # -- the mocked login manager ---------------------------------------------------------------

    def mock_calls(self, log, since=0):
        """The calls a mock has logged ("Method args"), from line `since` on."""
        try:
            with open(log) as f:
                lines = f.read().splitlines()[since:]
        except FileNotFoundError:
            return []
        calls = [line.split(" ", 1)[1].strip() for line in lines if " " in line]
        # property reads by other desktop services (the accessibility registry looks for a
        # GNOME session) are not requests
        return [c for c in calls if c.split(" ")[0] not in ("Get", "GetAll", "Set", "emit")]

    def mark_logs(self):
        """From now on, logind_calls() reports only what happens next."""
        try:
            with open(self.logind_log) as f:
                self.logind_offset = len(f.read().splitlines())
        except FileNotFoundError:
            self.logind_offset = 0

    def logind_calls(self):
        return self.mock_calls(self.logind_log, getattr(self, "logind_offset", 0))


class Recorder:
    def __init__(self, desktop):
        self.desktop = desktop
        self.path = tempfile.mktemp(dir=desktop.root, suffix=".raw")
        self.proc = desktop.spawn(["parec", "-d", "quorvane.monitor", "--format=s16le",
                                   "--rate=44100", "--channels=1", "--latency-msec=20",
                                   self.path], stderr=subprocess.DEVNULL)
        poll(lambda: desktop.x("pactl", "list", "short", "source-outputs").strip(),
             what="the recorder")

    def recorded(self):
        """How many samples have reached the file so far."""
        try:
            return os.path.getsize(self.path) // 2
        except FileNotFoundError:
            return 0

    def stop(self):
        """The samples recorded, as a list of integers."""
        self.proc.send_signal(signal.SIGINT)
        self.proc.wait(timeout=5)
        self.desktop.groups.remove(self.proc)
        samples = array.array("h")
        with open(self.path, "rb") as f:
            data = f.read()
        samples.frombytes(data[:len(data) // 2 * 2])
        return samples


class Program:
    def __init__(self, desktop, proc):
        self.desktop = desktop
        self.proc = proc

    def wait_exit(self, timeout=10):
        return poll(lambda: self.proc.poll() is not None, timeout, what="the program's end") \
            and self.proc.returncode

    def running(self):
        return self.proc.poll() is None


# -- the program's windows, through the accessibility bus ----------------------------------------

def _atspi():
    import gi
    gi.require_version("Atspi", "2.0")
    from gi.repository import Atspi
    return Atspi


def applications():
    """Every running instance of the program on the accessibility bus."""
    Atspi = _atspi()
    desktop = Atspi.get_desktop(0)
    apps = []
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app is not None and app.get_name() == "quorvane":
            apps.append(app)
    return apps


def _walk(acc):
    yield acc
    for i in range(acc.get_child_count()):
        child = acc.get_child_at_index(i)
        if child is not None:
            yield from _walk(child)


def find(role, name=".*", timeout=20, showing=True, description=None):
    """The first control with this role name and accessible name (a regular expression), and
    description where one is given."""

    def look():
        for app in applications():
            app.clear_cache()
            for acc in _walk(app):
                try:
                    if acc.get_role_name() != role:
                        continue
                    if not re.fullmatch(name, acc.get_name() or ""):
                        continue
                    if description is not None and acc.get_description() != description:
                        continue
                    if not showing or is_showing(acc):
                        return acc
                except Exception:  # a control that went away while we looked
                    continue
        return None
    return poll(look, timeout, what=f"{role} {name!r}")


def is_showing(acc):
    Atspi = _atspi()
    acc.clear_cache()
    return acc.get_state_set().contains(Atspi.StateType.SHOWING)


def text(acc):
    acc.clear_cache()
    return acc.get_name()


def clock(showing=True):
    return find("label", description="時刻", showing=showing)


def uptime():
    return find("label", description="起動してからの時間")


def extents(acc):
    Atspi = _atspi()
    r = acc.get_component_iface().get_extents(Atspi.CoordType.SCREEN)
    return r.x, r.y, r.width, r.height


def centre(acc):
    x, y, w, h = extents(acc)
    return x + w // 2, y + h // 2


class DesktopTest(unittest.TestCase):
    """One desktop for the whole group; every test starts from no program and no INI file."""

    tray = "xembed"
    display = "x11"
    sound = False

    @classmethod
    def setUpClass(cls):
        if not BINARY:
            raise unittest.SkipTest("QUORVANE_BIN is not set")
        cls.desktop = Desktop(tray=cls.tray, display=cls.display, sound=cls.sound).start()

    @classmethod
    def tearDownClass(cls):
        # what the program said on its error output, for a failing run's report
        try:
            with open(os.path.join(cls.desktop.root, "program.log")) as f:
                log = f.read()
            if log.strip():
                print("\n--- program output ---\n" + log, file=sys.stderr)
        except FileNotFoundError:
            pass
        cls.desktop.stop()

    def setUp(self):
        self.addCleanup(self.desktop.kill_programs)
        self.desktop.mark_logs()
        for f in (self.desktop.ini,):
            if os.path.exists(f):
                os.remove(f)

    def start(self, at=None):
        program = self.desktop.start_program(at)
        self.main = self.desktop.window("^Quorvane$")
        label = uptime()
        poll(lambda: text(label), what="the first clock tick")  # written by the first tick
        return program
