#!/usr/bin/python3
"""Opening the daily window and the monthly view with and without a screen reader's bus.

    /usr/bin/python3 bench/accessibility_open.py [BUILD-DIR]      (BUILD-DIR: build)

Starts a desktop of its own (tests/accessibility/PrivateDesktop.py: Xvfb, openbox, a private
session bus and the AT-SPI bus), a listener on that accessibility bus that asks each event's
object for its name, role and states as a screen reader does, and runs
BUILD-DIR/bench/bench_ui_accessible_open under xcb, in turn without Qt's bridge and with
QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1, three times each. Prints the median of each side's run
medians, the difference, and every run's median.
Needs /usr/bin/python3 (Debian's, with pyatspi), not another python3 on PATH.
"""

import json
import os
import shutil
import statistics
import subprocess
import sys
import tempfile

HERE = os.path.dirname(os.path.abspath(__file__))
sys.path.insert(0, os.path.join(HERE, "..", "tests", "accessibility"))
sys.dont_write_bytecode = True  # nothing left in the source tree

from PrivateDesktop import Desktop, Processes, missing_programs  # noqa: E402

# What a screen reader such as Orca listens to; the bridge sends only what someone listens to.
READER_EVENTS = ["focus:", "window:activate", "window:deactivate", "window:create", "window:destroy",
                 "object:state-changed", "object:property-change", "object:children-changed",
                 "object:active-descendant-changed", "object:selection-changed", "object:text-changed",
                 "object:text-caret-moved", "object:value-changed", "object:visible-data-changed"]
ROUNDS = 3
BENCHMARKS = [("BM_DailyWindowOpen", "daily window open"), ("BM_MonthViewOpen", "month view open")]


def listen():
    """The stand-in screen reader: every event's object is asked what a reader asks."""
    import pyatspi

    def heard(event):
        try:
            source = event.source
            source.name, source.getRole(), source.getState()
        except Exception:  # an object gone before it was asked: a reader skips it too
            pass

    pyatspi.Registry.registerEventListener(heard, *READER_EVENTS)
    pyatspi.Registry.start()


def run_bench(binary, env, bridge):
    run_env = dict(env, QT_QPA_PLATFORM="xcb")
    if bridge:
        run_env["QT_LINUX_ACCESSIBILITY_ALWAYS_ON"] = "1"
    out = subprocess.run([binary, "--benchmark_format=json"], env=run_env, capture_output=True, text=True,
                         timeout=900)
    if out.returncode != 0:
        sys.exit("%s failed:\n%s" % (binary, out.stderr))
    found = {b["name"].split("/")[0]: b for b in json.loads(out.stdout)["benchmarks"]}
    for name, _ in BENCHMARKS:
        if int(found[name]["bridge"]) != int(bridge):
            sys.exit("%s: the bridge was %s, meant to be %s" % (name, found[name]["bridge"], bridge))
    return {(name, what): found[name][what] for name, _ in BENCHMARKS for what in ("median_ms", "cpu_median_ms")}


def main():
    if sys.argv[1:] == ["--listen"]:
        listen()
        return 0
    build = os.path.abspath(sys.argv[1] if len(sys.argv) > 1 else "build")
    binary = os.path.join(build, "bench", "bench_ui_accessible_open")
    missing = missing_programs()
    if missing or not os.path.exists(binary):
        sys.exit("missing: %s" % ", ".join(missing + ([] if os.path.exists(binary) else [binary])))
    work = tempfile.mkdtemp(prefix="kzm-a11y-bench-")
    processes = Processes(work)
    try:
        desktop = Desktop(work, processes)
        processes.start(["/usr/bin/python3", os.path.abspath(__file__), "--listen"], desktop.env)
        runs = {False: [], True: []}
        for _ in range(ROUNDS):  # alternated, so that a busy moment of the machine falls on both
            for bridge in (False, True):
                runs[bridge].append(run_bench(binary, desktop.env, bridge))
    finally:
        processes.stop_all()
    shutil.rmtree(work, ignore_errors=True)
    heading = "median of %d runs' medians, ms" % ROUNDS
    print("%-36s %8s %16s %10s" % (heading, "without", "with the bridge", "slower by"))
    for name, label in BENCHMARKS:
        for what, kind in (("median_ms", "time passed"), ("cpu_median_ms", "thread's time")):
            without, with_bridge = (statistics.median(run[name, what] for run in runs[b]) for b in (False, True))
            print("%-36s %8.2f %16.2f %10.2f" % (label + ", " + kind, without, with_bridge, with_bridge - without))
    for bridge in (False, True):
        print("each run's time passed, %s: %s" % ("with the bridge" if bridge else "without", "; ".join(
            " ".join("%.2f" % run[name, "median_ms"] for run in runs[bridge]) for name, _ in BENCHMARKS)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
