#!/usr/bin/env python3
"""The program as a screen reader meets it, over a real accessibility bus.

    AccessibilityBusTest.py BIN-DIR

Starts, in a temporary folder and never on the user's own buses: an X server (Xvfb), a window
manager (openbox), a private session bus, the AT-SPI bus and its registry; then the program on
a one-year sample passbook with Qt's accessibility bridge on. Through pyatspi, as Orca would:
every window opened from the main window's keys (Ctrl+D, Ctrl+M and the menus' letters) holds
no control that takes the focus and has no name; the daily grid is a table whose cells read
their text, and moving its cursor down tells which cell now has the focus, by its text.
Keys are typed with xdotool, as a person would type them.

Exit 0 when all holds, 1 with the failures listed, 77 (skipped) when a program it needs is
missing (scripts/install-deps.sh installs them all).
"""

import os
import shutil
import subprocess
import sys
import tempfile
import time

sys.dont_write_bytecode = True  # nothing left in the source tree
from PrivateDesktop import DEADLINE, Desktop, Failed, Processes, ScreenReader, missing_programs, wait_for

os.environ["TZ"] = "Asia/Tokyo"  # the program's today and ours are one day
time.tzset()
DEADLINE[0] = time.monotonic() + 90  # the whole trial; ctest's time-out is above it
PASSBOOK = "家計簿"
AMOUNT = "2718"

# The windows opened from the main window by keys, in this order, each with the start of its
# title. The dialogs come first and are closed with Escape: the import refuses to open while
# a daily window is open.
MAIN_TITLE = "もるぽ通帳"
SELECT_TITLE = "通帳の選択"
DIALOGS = [(["alt+f", "t"], "定期的な記入"), (["alt+f", "m"], "明細の取り込み"),
           (["alt+f", "b"], "バックアップと復元")]
WINDOWS = [(["ctrl+m"], "月間表示"), (["alt+f", "f"], "検索"), (["alt+v", "b"], "予算"), (["alt+v", "y"], "年間の集計"),
           (["alt+v", "k"], "カードの請求"), (["alt+v", "f"], "これからの残高")]


class Trial:
    def __init__(self, desktop, reader, pid, failures, amount):
        self.desktop, self.reader, self.pid, self.failures, self.amount = desktop, reader, pid, failures, amount
        self.food_today = None  # the daily grid's 食費 band, as it reads its sum

    def run(self):
        # The sample holds two passbooks, so the program first asks which one to open.
        self.check_names(SELECT_TITLE, self.wait_window(SELECT_TITLE, 40))
        self.desktop.keys("Return")  # the first, 家計簿
        self.check_names(MAIN_TITLE, self.wait_window(MAIN_TITLE, 20))
        for keys, title in DIALOGS:
            self.open(keys)
            self.check_names(title, self.wait_window(title))
            self.desktop.keys("Escape")
            wait_for(title + " to close", lambda: self.reader.window(title) is None, 10, self.reader.pump)
        self.check_daily_window()
        for keys, title in WINDOWS:
            self.open(keys)
            window = self.wait_window(title)
            self.check_names(title, window)
            if title == "月間表示":
                self.check_month_view(window)

    def wait_window(self, title, seconds=15):
        """The window, once it is on the bus and has the keyboard."""
        window = self.reader.wait_window(title, seconds)
        self.desktop.wait_active(title)
        return window

    def open(self, keys):
        self.desktop.activate(self.pid, MAIN_TITLE)
        self.desktop.keys(*keys)

    def check_names(self, title, window):
        """The window is one to readers, and every control in it that takes the focus has a name."""
        a = self.reader.atspi
        if window.getRole() not in (a.ROLE_FRAME, a.ROLE_DIALOG, a.ROLE_WINDOW):
            self.failures.append("%s: a window with the role %s" % (title, window.getRoleName()))
        unnamed = self.reader.unnamed(window, window.getRoleName())
        print("%s (%s): %d unnamed" % (title, window.getRoleName(), len(unnamed)))
        if unnamed:
            self.failures.append("%s: %d focusable objects without a name:\n  %s" % (title, len(unnamed),
                                                                                    "\n  ".join(unnamed)))

    def titles(self):
        app = self.reader.application()
        return {child.name for child in app if child is not None and self.reader.showing(child)}

    def check_daily_window(self):
        before = self.titles()
        self.open(["ctrl+d"])
        new = wait_for("the daily window", lambda: self.titles() - before, 15, self.reader.pump)
        title = sorted(new)[0]
        window = self.wait_window(title)
        self.check_names("daily window " + title, window)
        self.check_daily_grid(window)

    def check_daily_grid(self, window):
        """The 支出 grid is a table whose cells read what they show; the cursor moved by keys
        onto today's entry tells its amount, and one row down tells the cell it reaches."""
        a = self.reader.atspi
        grid = self.reader.find(window, a.ROLE_TABLE)  # the 支出 page is in front
        if grid is None:
            self.failures.append("daily window: no table")
            return
        cells = self.reader.cells(grid)
        names = [name for row in cells for name, _ in row]
        spoken = "{:,}円".format(int(self.amount))
        band = next((name for name in names if name.startswith("食費 小計 ")), "")
        if not band or spoken not in names:
            self.failures.append("daily grid: no 食費 band or no %s among the cells %s" % (spoken, names))
            return
        self.food_today = band[len("食費 小計 "):]
        target = next((r, c) for r, row in enumerate(cells) for c, (name, _) in enumerate(row) if name == spoken)
        here = self.reader.current_cell(grid)
        if here is None:
            self.failures.append("daily grid: no cell is the current one")
            return
        rows, cols = target[0] - here[0], target[1] - here[1]
        try:
            self.reader.focused.clear()
            self.desktop.keys(*(["Down"] * rows if rows > 0 else ["Up"] * -rows))
            self.desktop.keys(*(["Right"] * cols if cols > 0 else ["Left"] * -cols))
            # Generous: on a loaded machine the bus may be seconds behind the keys.
            on = wait_for("the focus on the cell " + spoken, lambda: self.last_cell_focus(grid, target), 20,
                          self.reader.pump)
            # One row down: the focus ends on the cell the table now calls current.
            self.reader.focused.clear()
            self.desktop.keys("Down")
            below = wait_for("the focus on the cell below", lambda: self.last_cell_focus(grid, None), 20,
                             self.reader.pump)
        except Failed as failure:
            told = [f and "%s %s" % f[1:3] for f in self.reader.focused]
            self.failures.append("daily grid: %s; the focus went to %s" % (failure, told))
            return
        print("daily grid (%s): %d cells; the cursor told %s, then %r" % (grid.name, len(names), spoken, below[3]))
        if below[0] <= target[0]:
            self.failures.append("daily grid: Down went from row %d to row %d" % (target[0], below[0]))
        # The cell left behind is not announced again on the way (the grid holds the focus only
        # for a moment between its editors).
        if any(f and f[0] == self.reader.atspi.ROLE_TABLE_CELL and f[3] == on[2] for f in self.reader.focused):
            self.failures.append("daily grid: Down announced the cell it left, %s" % spoken)

    def last_cell_focus(self, table, place):
        """The current cell of table as current_cell gives it, once the last cell that took the
        focus is that cell and at place (row, column), or anywhere when place is None."""
        told = [f for f in self.reader.focused if f and f[0] == self.reader.atspi.ROLE_TABLE_CELL]
        if not told:
            return None
        current = self.reader.current_cell(table)
        if current is None or current[2] != told[-1][3] or current[3] != told[-1][2]:
            return None
        return current if place is None or current[:2] == place else None

    def check_month_view(self, window):
        """The table of days reads today's 食費 as the daily grid's band adds it up."""
        a = self.reader.atspi
        today = time.localtime()
        wanted = "食費 %d月%d日" % (today.tm_mon, today.tm_mday)
        tables = self.reader.find_all(window, a.ROLE_TABLE)
        names = [name for table in tables for row in self.reader.cells(table) for name, _ in row]
        found = [name for name in names if name.startswith(wanted)]
        print("month view: %d tables; %s" % (len(tables), found))
        if not self.food_today or len(found) != 1 or not found[0].endswith(" " + self.food_today):
            self.failures.append("month view: %s should read %s, the daily band's sum; the tables read %s"
                                 % (wanted, self.food_today, found or names[:40]))

def main():
    if len(sys.argv) != 2:
        print("usage: AccessibilityBusTest.py BIN-DIR")
        return 1
    missing = missing_programs()
    if missing:
        print("SKIPPED: missing %s (scripts/install-deps.sh installs them)" % ", ".join(missing))
        return 77
    bin_dir = os.path.abspath(sys.argv[1])
    work = tempfile.mkdtemp(prefix="kzm-atspi-")
    processes = Processes(work)
    failures = []
    try:
        desktop = Desktop(work, processes)
        data = os.path.join(work, "data")
        cli = os.path.join(bin_dir, "tavimrok-cli")
        subprocess.run([cli, "demo", data, "--years", "1", "--seed", "3"], check=True, capture_output=True,
                       env=desktop.env, timeout=60)
        # An entry today with an amount no sample entry has, for the daily window to show.
        today = time.strftime("%Y%m%d")
        subprocess.run([cli, "--data-folder", data, "add", PASSBOOK, today, "食費", AMOUNT, "--item", "点字の本"],
                       check=True, capture_output=True, env=desktop.env, timeout=60)
        # The reader listens before the program starts: a program asks the bus once, as it
        # starts, which events anyone listens to, and may miss a listener that comes later.
        reader = ScreenReader(desktop.env, None)
        program = processes.start([os.path.join(bin_dir, "tavimrok"), "--data-folder", data],
                                  dict(desktop.env, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
        reader.pid = program.pid
        Trial(desktop, reader, program.pid, failures, AMOUNT).run()
    except Failed as failure:
        failures.append(str(failure))
    finally:
        processes.stop_all()
    if failures:
        print("FAILED:\n" + "\n".join(failures))
        print("(the processes' output: %s)" % os.path.join(work, "processes.log"))
        return 1
    shutil.rmtree(work, ignore_errors=True)
    print("every window read through the accessibility bus as a screen reader would")
    return 0


if __name__ == "__main__":
    sys.exit(main())
