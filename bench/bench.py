"""Measures Quorvane beside two bare Qt floors (bench/floor.cpp: a clock label rewritten every
100 ms, and once a second at the second's boundary) on a private desktop and prints
min/median/max and the ratio of Quorvane to the 1-second floor. No thresholds are checked.

    python3 bench/bench.py BUILD_DIR [--quick] [--quorvane BINARY] [--long | --idle]

Figures: time from exec to the main window mapped (polled every 2 ms); resident and
proportional memory 10 s after start; CPU time and wakeups over an idle minute with the window
shown and hidden; during a beep-alarm minute, CPU time and the delay from a click on
"アラームストップ" to the window shrinking; instructions per clock tick (callgrind) for a quiet
and a changing tick. --quorvane measures another build of the program against this build's
floors. --long instead runs the program through a simulated day at 100 times speed and prints
when the chimes and the alarm are heard, and its memory and open files after the first hour
and at the end. --idle measures only the idle figures.
"""

import ctypes
import os
import re
import signal
import statistics
import subprocess
import sys
import time

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "e2e"))

import harness  # noqa: E402

class X:
    """A direct X connection, for polling window state every few milliseconds."""

    def __init__(self, display):
        self.x = ctypes.CDLL("libX11.so.6")
        self.x.XOpenDisplay.restype = ctypes.c_void_p
        self.x.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x.XDefaultRootWindow.restype = ctypes.c_ulong
        self.x.XDefaultRootWindow.argtypes = [ctypes.c_void_p]
        self.x.XInternAtom.restype = ctypes.c_ulong
        self.x.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
        self.x.XGetWindowProperty.argtypes = [
            ctypes.c_void_p, ctypes.c_ulong, ctypes.c_ulong, ctypes.c_long, ctypes.c_long,
            ctypes.c_int, ctypes.c_ulong, ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_int), ctypes.POINTER(ctypes.c_ulong),
            ctypes.POINTER(ctypes.c_ulong), ctypes.POINTER(ctypes.c_void_p)]
        self.x.XFree.argtypes = [ctypes.c_void_p]
        self.x.XGetGeometry.argtypes = [ctypes.c_void_p, ctypes.c_ulong] + [
            ctypes.c_void_p] * 7
        self.x.XGetImage.restype = ctypes.c_void_p
        self.x.XGetImage.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_int,
                                     ctypes.c_uint, ctypes.c_uint, ctypes.c_ulong, ctypes.c_int]
        self.x.XDestroyImage.argtypes = [ctypes.c_void_p]
        # a window may go away between listing and reading it: ignore such errors
        handler_type = ctypes.CFUNCTYPE(ctypes.c_int, ctypes.c_void_p, ctypes.c_void_p)
        self._ignore = handler_type(lambda display, event: 0)
        self.x.XSetErrorHandler(self._ignore)
        self.d = self.x.XOpenDisplay(display.encode())
        self.root = self.x.XDefaultRootWindow(self.d)
        self.clients = self.x.XInternAtom(self.d, b"_NET_CLIENT_LIST", 0)
        self.name = self.x.XInternAtom(self.d, b"_NET_WM_NAME", 0)

    def _property(self, window, atom):
        actual, fmt = ctypes.c_ulong(), ctypes.c_int()
        count, after = ctypes.c_ulong(), ctypes.c_ulong()
        data = ctypes.c_void_p()
        self.x.XGetWindowProperty(self.d, window, atom, 0, 4096, 0, 0, ctypes.byref(actual),
                                  ctypes.byref(fmt), ctypes.byref(count), ctypes.byref(after),
                                  ctypes.byref(data))
        if not data.value:
            return fmt.value, count.value, b""
        size = {8: 1, 16: 2, 32: ctypes.sizeof(ctypes.c_long)}.get(fmt.value, 1)
        raw = ctypes.string_at(data.value, count.value * size)
        self.x.XFree(data)
        return fmt.value, count.value, raw

    def mapped(self, title):
        """The managed (mapped) client window with this title, or 0."""
        fmt, count, raw = self._property(self.root, self.clients)
        ids = [int.from_bytes(raw[i:i + 8], "little") for i in range(0, len(raw), 8)]
        for wid in ids:
            if self._property(wid, self.name)[2] == title.encode():
                return wid
        return 0

    def image(self, window, width, height):
        """The window's pixels as bytes (ZPixmap), for telling whether anything changed."""
        image = self.x.XGetImage(self.d, window, 0, 0, width, height, 0xFFFFFFFF, 2)
        if not image:
            return b""
        # XImage: width, height, xoffset, format (ints), then the data pointer; bytes_per_line
        # after byte_order, bitmap_unit, bitmap_bit_order, bitmap_pad and depth
        data = ctypes.c_void_p.from_address(image + 16).value
        per_line = ctypes.c_int.from_address(image + 44).value
        pixels = ctypes.string_at(data, per_line * height)
        self.x.XDestroyImage(image)
        return pixels

    def height(self, window):
        root, x, y = ctypes.c_ulong(), ctypes.c_int(), ctypes.c_int()
        w, h, b, depth = ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint(), ctypes.c_uint()
        self.x.XGetGeometry(self.d, window, ctypes.byref(root), ctypes.byref(x),
                            ctypes.byref(y), ctypes.byref(w), ctypes.byref(h),
                            ctypes.byref(b), ctypes.byref(depth))
        return h.value


def schedstat(pid):
    """The CPU time of all the process's threads in seconds, from the scheduler's nanoseconds (the
    clock-tick figures in /proc/PID/stat count in 10 ms steps, too coarse for an idle minute),
    and how many times they were put on a CPU (the third field)."""
    seconds, woken = 0, 0
    for task in os.listdir(f"/proc/{pid}/task"):
        try:
            with open(f"/proc/{pid}/task/{task}/schedstat") as f:
                fields = f.read().split()
        except (FileNotFoundError, ProcessLookupError):
            continue  # a thread that ended meanwhile
        seconds, woken = seconds + int(fields[0]) / 1e9, woken + int(fields[2])
    return seconds, woken


def open_files(pid):
    return len(os.listdir(f"/proc/{pid}/fd"))


def memory_kb(pid):
    with open(f"/proc/{pid}/status") as f:
        rss = int(re.search(r"VmRSS:\s+(\d+)", f.read()).group(1))
    with open(f"/proc/{pid}/smaps_rollup") as f:
        pss = int(re.search(r"Pss:\s+(\d+)", f.read()).group(1))
    return rss, pss


def figures(values):
    return (min(values), statistics.median(values), max(values))


def row(name, unit, quorvane, floor=None, floor_1s=None):
    """A figure's min/median/max, the floors' medians and the ratio to the last floor given."""
    q = figures(quorvane)
    line = f"{name:<34} {q[0]:>9.2f} {q[1]:>9.2f} {q[2]:>9.2f} {unit:<4}"
    for label, values in (("100 ms floor", floor), ("1 s floor", floor_1s)):
        line += f" | {label} {statistics.median(values):>8.2f}" if values else ""
    if reference := floor_1s or floor:
        f = statistics.median(reference)
        line += f" | ratio {q[1] / f:>5.2f}" if f else " | ratio   n/a"
    print(line, flush=True)


class Bench:
    def __init__(self, build, quick, quorvane=None):
        self.build = build
        self.quick = quick
        self.quorvane = quorvane or os.path.join(build, "app", "quorvane")
        self.floor = os.path.join(build, "bench", "floor")
        harness.BINARY = self.quorvane
        self.desktop = None

    def open_desktop(self, sound=False):
        self.desktop = harness.Desktop(sound=sound).start()
        self.x = X(self.desktop.env["DISPLAY"])

    def start(self, program, title, args=(), env_changes=None):
        env = dict(self.desktop.env, **(env_changes or {}))
        if os.path.exists(self.desktop.ini):
            os.remove(self.desktop.ini)
        started = time.monotonic()
        proc = self.desktop.spawn([program, *args], env=env, stdout=subprocess.DEVNULL,
                                  stderr=subprocess.DEVNULL)
        while not self.x.mapped(title):
            if time.monotonic() - started > 30:
                raise RuntimeError(f"{title} was not mapped within 30 s")
            time.sleep(0.002)
        return proc, (time.monotonic() - started) * 1000

    def stop(self, proc):
        self.desktop.end(proc)

    def time_to_window(self):
        # Turn about, so that a busy moment of the machine falls on both programs alike.
        runs = 1 if self.quick else 21
        results = {"quorvane": [], "floor": []}
        for _ in range(runs):
            for name, program, title in (("quorvane", self.quorvane, "Quorvane"),
                                         ("floor", self.floor, "Floor")):
                proc, ms = self.start(program, title)
                results[name].append(ms)
                self.stop(proc)
        row("time to window mapped", "ms", results["quorvane"], results["floor"])

    def hide(self, program, title):
        """Quorvane to the tray from its menu; a floor hides by itself ("hide")."""
        if program == self.quorvane:
            main = self.desktop.window(f"^{title}$")
            self.desktop.x("xdotool", "windowactivate", "--sync", main)
            self.desktop.key("alt+f")
            time.sleep(0.3)
            self.desktop.key("Down", "Return")
        harness.poll(lambda: not self.x.mapped(title), what=f"{title} hidden")

    def idle(self):
        """Memory after the start; CPU time a minute and wakeups a second, shown and hidden. Each
        program is measured alone on the desktop, in turns of 20 s with the order reversed every
        round: side by side, the program started first or left without the focus pays more for
        the same work (a tenth of the 1 s floor's cost and more), and alone every wakeup is paid
        in full, as on an idle laptop."""
        settle, span, rounds = (3, 5, 1) if self.quick else (5, 20, 3)
        programs = [("quorvane", self.quorvane, "Quorvane", ()),
                    ("floor", self.floor, "Floor", ()),
                    ("floor second", self.floor, "Floor1s", ("second",))]
        for how in ("shown", "hidden"):
            hidden = how == "hidden"
            cpu = {name: [] for name, *_ in programs}
            woken = {name: [] for name, *_ in programs}
            memory = {}
            for r in range(rounds):
                for name, program, title, args in programs[::1 if r % 2 == 0 else -1]:
                    proc, _ = self.start(program, title, args=args + (("hide",) if hidden and
                                                                      program == self.floor else ()))
                    if hidden:
                        self.hide(program, title)
                    time.sleep(settle)
                    if not hidden and r == 0:
                        memory[name] = memory_kb(proc.pid)
                    c0, w0 = schedstat(proc.pid)
                    time.sleep(span)
                    c1, w1 = schedstat(proc.pid)
                    cpu[name].append(1000 * (c1 - c0) * 60 / span)
                    woken[name].append((w1 - w0) / span)
                    self.stop(proc)
                    harness.poll(lambda: not self.x.mapped(title), what=f"{title} gone")
            if how == "shown":
                (qr, qp), (fr, fp) = memory["quorvane"], memory["floor second"]
                row(f"resident memory after {settle} s", "MB", [qr / 1024], None, [fr / 1024])
                row(f"proportional memory after {settle} s", "MB", [qp / 1024], None, [fp / 1024])
            row(f"CPU a minute idle, {how}", "ms", *(cpu[n] for n, *_ in programs))
            row(f"wakeups idle, {how}", "/s", *(woken[n] for n, *_ in programs))

    def clock_lateness(self):
        """How long after the wall-clock second the window shows it: the window's pixels read
        every millisecond over a direct X connection, each change timed against the clock."""
        span = 5 if self.quick else 20
        q, _ = self.start(self.quorvane, "Quorvane")
        wid = self.x.mapped("Quorvane")
        time.sleep(1)
        width, height = self.desktop.client(str(wid))[2:]
        late, last, end = [], self.x.image(wid, width, height), time.monotonic() + span
        while time.monotonic() < end:
            pixels = self.x.image(wid, width, height)
            if pixels != last:
                late.append(1000 * (time.time() % 1.0))
                last = pixels
            time.sleep(0.001)
        self.stop(q)
        row("clock shown after its second", "ms", late or [float("nan")])

    def alarm(self):
        span = 5 if self.quick else 50
        with open(self.desktop.ini, "w") as f:
            f.write("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=0\n")
        env = dict(self.desktop.env, LD_PRELOAD=harness.FAKETIME_LIB,
                   FAKETIME="@2026-12-07 07:30:00", DONT_FAKE_MONOTONIC="1")
        q = self.desktop.spawn([self.quorvane], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        wid = harness.poll(lambda: self.x.mapped("Quorvane"), what="Quorvane")
        tall = harness.poll(lambda: self.x.height(wid) > 100 and self.x.height(wid),
                            what="the alarm height")
        time.sleep(0.5)  # framed and placed by the window manager
        # the alarm-stop button's centre: 120 + 1695 / 2 and 1080 + 735 / 2 twips into the client
        # area below the menu bar, whose height is what the 1920 twips of the grown window leave
        x, y, _, height = self.desktop.client(str(wid))
        cx, cy = x + (120 + 1695 // 2) // 15, y + height - 1920 // 15 + (1080 + 735 // 2) // 15
        c = schedstat(q.pid)[0]
        delays = []
        clicks = 3 if self.quick else 10
        self.desktop.x("xdotool", "mousemove", str(cx), str(cy))
        for _ in range(clicks):
            time.sleep(span / clicks)
            harness.poll(lambda: self.x.height(wid) == tall, timeout=10, interval=0.002,
                         what="the alarm height back")
            # watched while xdotool runs: the button comes back at the next tick (<= 100 ms)
            clicked = time.monotonic()
            click = subprocess.Popen(["xdotool", "click", "1"], env=self.desktop.env)
            while self.x.height(wid) == tall and time.monotonic() - clicked < 2:
                pass
            delays.append((time.monotonic() - clicked) * 1000)
            click.wait()
        used = schedstat(q.pid)[0] - c
        row(f"CPU share during the alarm ({span} s)", "%", [100 * used / span])
        row("click to alarm-stop handled", "ms", delays)
        self.stop(q)

    def instructions(self):
        tick = os.path.join(self.build, "bench", "tick_bench")

        # offscreen, away from the benchmark desktop and its buses
        env = {k: v for k, v in os.environ.items()
               if k not in ("DISPLAY", "AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS")}

        def collected(mode, n):
            out = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=/dev/null",
                                  tick, mode, str(n)], capture_output=True, text=True, env=env)
            return int(re.search(r"Collected : (\d+)", out.stderr).group(1))

        n = 500 if self.quick else 2000
        collected("quiet", 1)  # a first run fills the font caches
        for mode in ("quiet", "changing"):
            per_tick = (collected(mode, 2 * n) - collected(mode, n)) / n
            row(f"instructions per {mode} tick", "k", [per_tick / 1000])
        for mode in ("quiet", "changing"):
            out = subprocess.run([tick, mode, str(n)], capture_output=True, text=True, env=env)
            made = int(re.search(r"allocations (\d+)", out.stdout).group(1))
            row(f"heap allocations per {mode} tick", "", [made / n])

    def long_run(self):
        """A simulated day at 100 times speed: the wall clock, the monotonic clock and every wait
        of the program sped up alike (libfaketime), so that its timers keep pace."""
        speed, start = 100, 6 * 3600 - 180  # from 05:57:00: the first hour has a chime
        with open(self.desktop.ini, "w") as f:
            f.write("[Quorvane]\nHOUR=7\nMIN=30\nBOMSETTING=0\n")
        recorder, path = self.desktop.record()
        env = dict(self.desktop.env, LD_PRELOAD=harness.FAKETIME_LIB,
                   FAKETIME=f"@2026-12-07 05:57:00 x{speed}")
        q = self.desktop.spawn([self.quorvane], env=env, stdout=subprocess.DEVNULL,
                               stderr=subprocess.DEVNULL)
        started = time.monotonic()
        # The day begins in the tray, where the clock sleeps until the chime or the alarm is
        # due (the beep alert shows the window again).
        harness.poll(lambda: self.x.mapped("Quorvane"), what="Quorvane mapped")
        self.hide(self.quorvane, "Quorvane")
        simulated = lambda real: start + (real - started) * speed  # seconds of the faked day

        def at(hours):  # waits until the faked clock has passed hours since 05:57
            time.sleep(max(0.0, started + hours * 3600 / speed - time.monotonic()))

        at(1)
        first = memory_kb(q.pid)[0], open_files(q.pid)
        at(2.2)  # the chimes of 06:00, 07:00 and 08:00 and the alarm minute
        self.desktop.end(recorder, signal.SIGINT)
        recorded = harness.samples(path)
        recording = time.monotonic() - len(recorded) / 44100  # when its first sample was played
        heard = sounds(recorded, 44100)
        print("sounds heard at (faked time):", ", ".join(
            clock(simulated(recording + s)) + f" for {d:.2f} s" for s, d in heard), flush=True)
        at(24.1)  # past midnight and the whole day
        last = memory_kb(q.pid)[0], open_files(q.pid)
        print(f"resident memory after the first hour {first[0]} kB, after a day {last[0]} kB",
              f"({100 * (last[0] - first[0]) / first[0]:+.2f} %)", flush=True)
        print(f"open files after the first hour {first[1]}, after a day {last[1]}", flush=True)
        self.stop(q)

    def run(self, long, idle_only):
        print(f"{'':<34} {'min':>9} {'median':>9} {'max':>9}", flush=True)
        self.open_desktop(sound=long)
        try:
            if long:
                return self.long_run()
            if idle_only:
                return self.idle()
            self.time_to_window()
            self.idle()
            self.clock_lateness()
            self.alarm()
        finally:
            self.desktop.stop()
        self.instructions()


def sounds(recorded, rate):
    """(start, duration) in seconds of each stretch of sound, apart by at least a second."""
    found, window = [], rate // 100
    for i in range(0, len(recorded) - window, window):
        if max(abs(s) for s in recorded[i:i + window]) > 300:
            if found and i / rate - sum(found[-1]) < 1:
                found[-1] = (found[-1][0], i / rate + 0.01 - found[-1][0])
            else:
                found.append((i / rate, 0.01))
    return found


def clock(seconds):
    s = int(seconds) % 86400
    return f"{s // 3600:02d}:{s // 60 % 60:02d}:{s % 60:02d}"


if __name__ == "__main__":
    arguments = sys.argv[1:]
    other = arguments[arguments.index("--quorvane") + 1] if "--quorvane" in arguments else None
    Bench(os.path.abspath(arguments[0]), "--quick" in arguments, other).run(
        "--long" in arguments, "--idle" in arguments)
