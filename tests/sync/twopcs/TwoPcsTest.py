#!/usr/bin/env python3
"""Two PCs sharing one data folder through two real Syncthing daemons on 127.0.0.1.

    TwoPcsTest.py CLI    (CLI: the built tavimrok-cli)

Both PCs start from one copy of the sample data. The peers are cut off (paused); each PC
changes the passbook through tavimrok-cli (entries, a budget, the same recurring entries, an
import on one side); the peers meet again; each PC runs merge. Both must then list the same
entries, month table and budgets, hold no conflict copy, and nothing may be lost or doubled.
Exit 0 when all holds, 1 with the failures listed, 77 (skipped) when syncthing is missing.
"""

import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request
import json
import xml.etree.ElementTree as ET

FOLDER = "household"
DEADLINE = time.monotonic() + 240  # the whole trial; ctest's time-out is above it


class Peer:
    def __init__(self, work, name, data):
        self.name, self.data = name, data
        self.home = os.path.join(work, "syncthing-" + name)
        self.state = os.path.join(work, "state-" + name)  # what only this PC keeps
        self.gui, self.listen = free_port(), free_port()
        out = subprocess.run(["syncthing", "generate", "--home=" + self.home, "--no-default-folder"],
                             capture_output=True, text=True, check=True)
        self.id = next(l.split("Device ID:")[1].strip() for l in (out.stdout + out.stderr).splitlines()
                       if "Device ID:" in l)
        self.proc = None

    def configure(self, other):
        path = os.path.join(self.home, "config.xml")
        tree = ET.parse(path)
        root = tree.getroot()
        gui = root.find("gui")
        gui.find("address").text = "127.0.0.1:%d" % self.gui
        self.key = gui.find("apikey").text
        options = root.find("options")
        # Loopback only: no discovery, relays, NAT traversal or reports.
        for key, value in {"listenAddress": "tcp://127.0.0.1:%d" % self.listen, "globalAnnounceEnabled": "false",
                           "localAnnounceEnabled": "false", "relaysEnabled": "false", "natEnabled": "false",
                           "startBrowser": "false", "urAccepted": "-1", "crashReportingEnabled": "false",
                           "autoUpgradeIntervalH": "0", "reconnectionIntervalS": "1"}.items():
            node = options.find(key)
            if node is None:
                node = ET.SubElement(options, key)
            node.text = value
        device = ET.SubElement(root, "device", {"id": other.id, "name": other.name, "compression": "metadata",
                                                "introducer": "false"})
        ET.SubElement(device, "address").text = "tcp://127.0.0.1:%d" % other.listen
        folder = ET.Element("folder", {"id": FOLDER, "label": FOLDER, "path": self.data, "type": "sendreceive",
                                       "rescanIntervalS": "3600", "fsWatcherEnabled": "false"})
        for d in (self.id, other.id):
            ET.SubElement(folder, "device", {"id": d})
        ET.SubElement(folder, "minDiskFree", {"unit": "%"}).text = "0"
        # A folder made by hand otherwise keeps no conflict copies at all (seen with 1.19).
        ET.SubElement(folder, "maxConflicts").text = "10"
        root.insert(0, folder)
        tree.write(path)

    def start(self, log):
        env = dict(os.environ, STNODEFAULTFOLDER="1", STNOUPGRADE="1")
        self.proc = subprocess.Popen(["syncthing", "serve", "--home=" + self.home, "--no-browser", "--no-restart",
                                      "--no-upgrade"], stdout=log, stderr=subprocess.STDOUT, env=env,
                                     start_new_session=True)

    def api(self, method, path):
        request = urllib.request.Request("http://127.0.0.1:%d%s" % (self.gui, path), method=method,
                                         headers={"X-API-Key": self.key})
        with urllib.request.urlopen(request, timeout=10) as reply:
            body = reply.read()
        return json.loads(body) if body.strip()[:1] in (b"{", b"[") else None

    def stop(self):
        if self.proc and self.proc.poll() is None:
            try:
                self.api("POST", "/rest/system/shutdown")
                self.proc.wait(timeout=10)
            except Exception:
                os.killpg(self.proc.pid, signal.SIGKILL)
                self.proc.wait()


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def wait_for(what, test):
    while time.monotonic() < DEADLINE:
        try:
            if test():
                return
        except Exception:
            pass
        time.sleep(0.5)
    raise SystemExit("time-out waiting for " + what)


def in_sync(a, b):
    for p, q in ((a, b), (b, a)):
        status = p.api("GET", "/rest/db/status?folder=" + FOLDER)
        if status.get("state") != "idle" or status.get("needTotalItems", 0):
            return False
        done = p.api("GET", "/rest/db/completion?folder=%s&device=%s" % (FOLDER, q.id))
        if done.get("completion", 0) < 100 or done.get("needItems", 0):
            return False
    return True


def settle(a, b):
    """Rescans both sides and waits until they agree three times running."""
    for p in (a, b):
        p.api("POST", "/rest/db/scan?folder=" + FOLDER)
    stable = [0]

    def steady():
        stable[0] = stable[0] + 1 if in_sync(a, b) else 0
        return stable[0] >= 3
    wait_for("the peers to agree", steady)


def conflict_copies(data):
    return sorted(os.path.relpath(os.path.join(d, f), data) for d, _, files in os.walk(data) for f in files
                  if "sync-conflict" in f or "conflicted copy" in f)


def main():
    cli = os.path.abspath(sys.argv[1])
    if shutil.which("syncthing") is None:
        print("SKIPPED: syncthing is not installed (scripts/install-deps.sh installs it)")
        return 77
    work = tempfile.mkdtemp(prefix="kzm-twopcs-")
    failures = []
    peers = []
    log = open(os.path.join(work, "syncthing.log"), "w")

    def run(peer, *args, ok=(0,)):
        env = dict(os.environ, XDG_STATE_HOME=peer.state)
        done = subprocess.run([cli, "--data-folder", peer.data] + list(args), capture_output=True, text=True,
                              env=env, timeout=60)
        if done.returncode not in ok:
            failures.append("%s %s: exit %d\n%s%s" % (peer.name, " ".join(args), done.returncode, done.stdout,
                                                      done.stderr))
        return done.stdout

    try:
        data_a, data_b = os.path.join(work, "pc-a"), os.path.join(work, "pc-b")
        a = Peer(work, "a", data_a)
        subprocess.run([cli, "demo", data_a, "--years", "1", "--seed", "5", "--until", "202412"], check=True,
                       capture_output=True)
        # One template both PCs will enter, made before the copy so that both hold it.
        run(a, "recurring", "家計簿", "add", "--kind", "支出", "--category", "住居･光熱", "--account", "銀行",
            "--amount", "80000", "--monthly", "27", "--item", "試験の家賃", "--from", "20240427", "--count", "3")
        with open(os.path.join(data_a, ".stignore"), "w") as ignore:
            ignore.write("(?d)**/Writer.lock\n")
        shutil.copytree(data_a, data_b, symlinks=True)
        os.makedirs(os.path.join(data_a, ".stfolder"), exist_ok=True)
        os.makedirs(os.path.join(data_b, ".stfolder"), exist_ok=True)
        b = Peer(work, "b", data_b)
        peers = [a, b]
        a.configure(b)
        b.configure(a)
        for p in peers:
            p.start(log)
        wait_for("the peers to connect", lambda: a.api("GET", "/rest/system/connections")["connections"][b.id]["connected"])
        settle(a, b)

        for p, q in ((a, b), (b, a)):
            p.api("POST", "/rest/system/pause?device=" + q.id)
        run(a, "add", "家計簿", "20240510", "食費", "480", "--item", "PC-Aの昼")
        run(a, "add", "家計簿", "20240511", "現金", "10000", "--account", "銀行", "--item", "PC-Aの引出")
        run(a, "budget", "家計簿", "set", "食費", "40000", "--from", "202405")
        run(a, "recurring", "家計簿", "enter", "--until", "20240630")
        run(b, "add", "家計簿", "20240510", "食費", "650", "--item", "PC-Bの昼")
        run(b, "budget", "家計簿", "set", "交通", "9000", "--from", "202405")
        run(b, "recurring", "家計簿", "enter", "--until", "20240531")
        statement = os.path.join(work, "statement.csv")
        with open(statement, "w", encoding="utf-8") as f:
            f.write("日付,摘要,金額\n2024/05/15,デンキダイ,-4321\n2024/05/16,キュウヨ,250000\n")
        run(b, "import", "家計簿", statement, "--account", "銀行", "--preset", "試験", "--columns",
            "date=1,text=2,amount=3,header=日付")
        for p, q in ((a, b), (b, a)):
            p.api("POST", "/rest/system/resume?device=" + q.id)
        wait_for("the peers to meet again",
                 lambda: a.api("GET", "/rest/system/connections")["connections"][b.id]["connected"])
        settle(a, b)
        if not conflict_copies(data_a):
            failures.append("the trial made no conflict copy to merge")
        print("conflict copies: %s" % conflict_copies(data_a))
        for p in (a, b):
            print("merge on %s:\n%s" % (p.name, run(p, "merge", "家計簿")))
            settle(a, b)

        for p in peers:
            left = conflict_copies(p.data)
            if left:
                failures.append("%s: conflict copies left: %s" % (p.name, left))
        views = {}
        for p in peers:
            views[p.name] = (run(p, "search", "家計簿"), run(p, "month", "家計簿", "202405"),
                             run(p, "budget", "家計簿", "202405"))
        for what, x, y in zip(("entries", "month table", "budgets"), views["a"], views["b"]):
            if x != y:
                failures.append("the PCs differ in their %s" % what)
        entries = views["a"][0]
        for item, count in (("PC-Aの昼", 1), ("PC-Aの引出", 1), ("PC-Bの昼", 1), ("デンキダイ", 1), ("キュウヨ", 1)):
            if entries.count("," + item + ",") != count:
                failures.append("%s appears %d times, not %d" % (item, entries.count("," + item + ","), count))
        for day in ("2024/04/27", "2024/05/27", "2024/06/27"):
            rent = [l for l in entries.splitlines() if l.startswith(day + ",") and ",試験の家賃," in l]
            if len(rent) != 1:
                failures.append("the rent of %s appears %d times" % (day, len(rent)))
        budgets = views["a"][2]
        for line in ("食費\t40000", "交通\t9000"):
            if line not in budgets:
                failures.append("budget %s lost" % line)
    finally:
        for p in peers:
            p.stop()
        log.close()
        if failures:
            print("kept for a look: " + work)
        else:
            shutil.rmtree(work, ignore_errors=True)
    for f in failures:
        print("FAILED: " + f)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
