"""A desktop of our own for trials that need a real screen reader's view of the program: an X
server (Xvfb), a window manager (openbox), a private session bus and the AT-SPI bus with its
registry, all on unix sockets in a temporary folder, never the user's; and pyatspi on that bus.
Used by tests/accessibility/AccessibilityBusTest.py and bench/accessibility_open.py.
"""

import importlib.util
import os
import select
import signal
import subprocess
import sys
import time

NEEDED = ["/usr/bin/Xvfb", "/usr/bin/openbox", "/usr/bin/dbus-daemon", "/usr/bin/dbus-send", "/usr/bin/xdotool",
          "/usr/libexec/at-spi-bus-launcher", "/usr/libexec/at-spi2-registryd"]
DEADLINE = [time.monotonic() + 3600]  # the caller's whole time; no wait goes past it


def missing_programs():
    """What the desktop needs and this machine lacks, by package or program name."""
    missing = [p for p in NEEDED if not os.path.exists(p)]
    # Only looked for: pyatspi is imported once its bus is up.
    if importlib.util.find_spec("pyatspi") is None:
        missing.append("python3-pyatspi")
    return missing


class Failed(Exception):
    pass


def wait_for(what, test, seconds=10.0, pump=None):
    end = min(time.monotonic() + seconds, DEADLINE[0])
    while True:
        if pump:
            pump()
        value = test()
        if value:
            return value
        if time.monotonic() > end:
            raise Failed("waited %.0f s for %s" % (seconds, what))
        time.sleep(0.05)


class Processes:
    """What the trial started, each in a session of its own, so that stopping one stops what
    it started too (the registry the accessibility bus starts on demand, say)."""

    def __init__(self, work):
        self.started = []
        self.log = open(os.path.join(work, "processes.log"), "w")
        # Stopped from outside (ctest's time-out), the caller's cleanup still runs, once.
        signal.signal(signal.SIGTERM, stopped)

    def start(self, args, env, **options):
        options.setdefault("stdout", self.log)
        options.setdefault("stderr", self.log)
        process = subprocess.Popen(args, env=env, start_new_session=True, **options)
        self.started.append(process)
        return process

    def stop_all(self):
        sessions = {p.pid for p in self.started}
        for process in reversed(self.started):
            signal_group(process.pid, signal.SIGTERM)
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                signal_group(process.pid, signal.SIGKILL)
                process.wait(timeout=5)
        # A child that left its parent's group but not its session (none should) goes too.
        for pid in processes_in_sessions(sessions):
            os.kill(pid, signal.SIGKILL)
        self.log.close()


def stopped(*_):
    signal.signal(signal.SIGTERM, signal.SIG_IGN)
    sys.exit("stopped")


def signal_group(pid, number):
    try:
        os.killpg(pid, number)
    except ProcessLookupError:
        pass


def processes_in_sessions(sessions):
    found = []
    for name in os.listdir("/proc"):
        if not name.isdigit():
            continue
        try:
            with open("/proc/%s/stat" % name) as stat:
                fields = stat.read().rsplit(")", 1)[1].split()
        except OSError:
            continue
        if int(fields[3]) in sessions and fields[0] != "Z":  # the session id, the state
            found.append(int(name))
    return found


class Desktop:
    """The X server, its window manager and the two buses, private to the trial."""

    def __init__(self, work, processes):
        self.env = {"PATH": "/usr/bin:/bin", "HOME": os.path.join(work, "home"), "LC_ALL": "C.UTF-8",
                    "XDG_RUNTIME_DIR": os.path.join(work, "run"), "XDG_CONFIG_HOME": os.path.join(work, "config"),
                    "XDG_STATE_HOME": os.path.join(work, "state"), "XDG_DATA_HOME": os.path.join(work, "share"),
                    "XDG_CACHE_HOME": os.path.join(work, "cache"), "TZ": os.environ.get("TZ", "Asia/Tokyo")}
        for key in ("HOME", "XDG_RUNTIME_DIR", "XDG_CONFIG_HOME", "XDG_STATE_HOME", "XDG_DATA_HOME",
                    "XDG_CACHE_HOME"):
            os.makedirs(self.env[key], mode=0o700, exist_ok=True)
        self.env["DISPLAY"] = ":%d" % start_x_server(processes, self.env)
        bus = processes.start(["/usr/bin/dbus-daemon", "--session", "--nofork", "--print-address=1",
                               "--address=unix:dir=" + self.env["XDG_RUNTIME_DIR"]],
                              self.env, stdout=subprocess.PIPE, text=True)
        self.env["DBUS_SESSION_BUS_ADDRESS"] = bus.stdout.readline().strip()
        if not self.env["DBUS_SESSION_BUS_ADDRESS"].startswith("unix:"):
            raise Failed("the session bus printed no address")
        processes.start(["/usr/bin/openbox", "--sm-disable"], self.env)
        processes.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"], self.env)
        wait_for("the accessibility bus", self.accessibility_bus_up)

    def accessibility_bus_up(self):
        # Asked without starting it: the session bus would start a launcher of its own.
        asked = subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.freedesktop.DBus",
                                "/org/freedesktop/DBus", "org.freedesktop.DBus.NameHasOwner", "string:org.a11y.Bus"],
                               env=self.env, capture_output=True, text=True, timeout=5)
        return asked.returncode == 0 and "boolean true" in asked.stdout

    def keys(self, *keys):
        subprocess.run(["xdotool", "key", "--delay", "30"] + list(keys), env=self.env, check=True, timeout=10)

    def active_title(self):
        asked = subprocess.run(["xdotool", "getactivewindow"], env=self.env, capture_output=True, text=True,
                               timeout=5)
        return self.title_of(asked.stdout.strip()) if asked.returncode == 0 else ""

    def wait_active(self, title):
        """Waits until the window whose title begins with title has the keyboard."""
        wait_for(title + " to be the active window", lambda: self.active_title().startswith(title))

    def activate(self, pid, title):
        """Brings the program's window whose title begins with title forward, with the keyboard."""
        def window():
            # Compared here: xdotool's own --name match also takes other windows of the program.
            found = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(pid)], env=self.env,
                                   capture_output=True, text=True, timeout=5)
            return [w for w in found.stdout.split() if self.title_of(w).startswith(title)]

        wid = wait_for("the window " + title, window)[0]
        subprocess.run(["xdotool", "windowactivate", "--sync", wid], env=self.env, capture_output=True, timeout=5)
        self.wait_active(title)

    def title_of(self, wid):
        asked = subprocess.run(["xdotool", "getwindowname", wid], env=self.env, capture_output=True, text=True,
                               timeout=5)
        return asked.stdout.rstrip("\n")


def start_x_server(processes, env):
    """Starts Xvfb on a display number it finds free, without TCP, and returns the number."""
    read, write = os.pipe()
    try:
        processes.start(["/usr/bin/Xvfb", "-displayfd", str(write), "-nolisten", "tcp", "-noreset", "-screen", "0",
                         "1600x1200x24"], env, pass_fds=(write,))
        os.close(write)
        write = -1
        number = b""
        end = time.monotonic() + 10
        while not number.endswith(b"\n") and select.select([read], [], [], max(0, end - time.monotonic()))[0]:
            chunk = os.read(read, 16)
            if not chunk:
                break
            number += chunk
        if not number.strip().isdigit():
            raise Failed("Xvfb named no display")
        return int(number)
    finally:
        os.close(read)
        if write >= 0:
            os.close(write)


class ScreenReader:
    """Our side of the accessibility bus, through pyatspi: the program's windows, their
    objects, and the focus events the program sends."""

    def __init__(self, env, pid):
        # libatspi finds the buses through these when it first connects.
        for key in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS", "XDG_RUNTIME_DIR"):
            os.environ[key] = env[key]
        import pyatspi
        from gi.repository import GLib
        self.atspi, self.context, self.pid = pyatspi, GLib.MainContext.default(), pid
        pyatspi.setTimeout(5000, 10000)
        self.focused = []  # (role, role name, name, index) of what took the focus; None when gone
        pyatspi.Registry.registerEventListener(self.on_focus, "object:state-changed:focused")

    def on_focus(self, event):
        if not event.detail1:
            return
        try:  # asked at once: a cell is known by its place, and the place may change
            source = event.source
            self.focused.append((source.getRole(), source.getRoleName(), source.name, source.getIndexInParent()))
        except Exception:  # gone before it was asked, as a reader would find it
            self.focused.append(None)

    def pump(self):
        while self.context.pending():
            self.context.iteration(False)

    def application(self):
        for app in self.atspi.Registry.getDesktop(0):
            if app is not None and app.get_process_id() == self.pid:
                return app
        return None

    def window(self, title):
        """The program's shown window whose title begins with title, or None. A message box
        is a failure: no step of a trial expects one."""
        a = self.atspi
        for child in self.application() or []:
            if child is None or not self.showing(child):
                continue
            if child.getRole() == a.ROLE_ALERT:
                raise Failed("a message box: " + " ".join(self.texts(child)))
            if child.name.startswith(title):
                return child
        return None

    def texts(self, node):
        """Every name below node, depth first."""
        found = [node.name] if node.name else []
        for child in node:
            if child is not None:
                found += self.texts(child)
        return found

    def wait_window(self, title, seconds=15):
        return wait_for("the window " + title + " on the bus", lambda: self.window(title), seconds, self.pump)

    def showing(self, node):
        return node.getState().contains(self.atspi.STATE_SHOWING)

    def unnamed(self, node, path=""):
        """The shown objects below node that take the focus and have no name, as paths of
        roles and child numbers. The cells of a table are not walked: a blank cell rightly says
        nothing."""
        a = self.atspi
        found = []
        state = node.getState()
        if not state.contains(a.STATE_SHOWING):
            return found
        if state.contains(a.STATE_FOCUSABLE) and not (node.name or "").strip():
            found.append(path)
        if node.getRole() in (a.ROLE_TABLE, a.ROLE_TREE_TABLE):
            return found
        for index, child in enumerate(node):
            if child is not None:
                found += self.unnamed(child, "%s/%s %d" % (path, child.getRoleName(), index))
        return found

    def cells(self, table):
        """The body cells of a table by row and column, as (name, selected)."""
        t = table.queryTable()
        selected = self.atspi.STATE_SELECTED
        return [[(c.name, c.getState().contains(selected)) for c in (t.getAccessibleAt(row, col)
                                                                     for col in range(t.nColumns))]
                for row in range(t.nRows)]

    def current_cell(self, table):
        """(row, column, child index, name) of the table's current cell, or None."""
        t = table.queryTable()
        for row, cells in enumerate(self.cells(table)):
            for col, (name, selected) in enumerate(cells):
                if selected:
                    return row, col, t.getIndexAt(row, col), name
        return None

    def find(self, node, role):
        """The first shown object of role below node, depth first."""
        found = self.find_all(node, role, 1)
        return found[0] if found else None

    def find_all(self, node, role, most=None):
        """The shown objects of role below node (not below one another), depth first."""
        if node.getRole() == role:
            return [node]
        found = []
        for child in node:
            if child is not None and self.showing(child):
                found += self.find_all(child, role, most and most - len(found))
                if most and len(found) >= most:
                    break
        return found


