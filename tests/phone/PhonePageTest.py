#!/usr/bin/env python3
"""The phone's page in a real headless Chromium at a phone's size, against tavimrok-cli serve.

Pairs with the code the service prints, taps 食費, types 298*3 and 記入, and sees the entry
listed; stops the service, types another (kept as 未送信 1件), starts the service again and
sees that entry arrive once. Chromium is driven through chromedriver's WebDriver protocol,
spoken with the standard library only. Everything listens on 127.0.0.1 and is stopped here.

    PhonePageTest.py BIN-DIR
"""

import json
import os
import shutil
import signal
import socket
import subprocess
import sys
import tempfile
import time
import urllib.request

CHROMIUM = "/usr/bin/chromium"
DRIVER = "/usr/bin/chromedriver"
PHONE_SIZE = "390,844"


def free_port():
    with socket.socket() as s:
        s.bind(("127.0.0.1", 0))
        return s.getsockname()[1]


def fail(message):
    print("FAILED: " + message)
    sys.exit(1)


def wait_for(what, test, seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        value = test()
        if value:
            return value
        time.sleep(0.2)
    fail("waited %d s for %s" % (seconds, what))


class Serve:
    def __init__(self, cli, data, state, port):
        env = dict(os.environ, XDG_STATE_HOME=state)
        self.process = subprocess.Popen(
            [cli, "--data-folder", data, "serve", "家計簿", "--listen", "127.0.0.1:%d" % port],
            stdout=subprocess.PIPE, env=env, text=True)
        self.first = self.process.stdout.readline().rstrip("\n").split("\t")
        if len(self.first) != 4:
            fail("serve printed %r" % self.first)

    def stop(self):
        self.process.send_signal(signal.SIGTERM)
        if self.process.wait(timeout=10) != 0:
            fail("serve did not stop cleanly")


class Browser:
    def __init__(self, profile):
        self.port = free_port()
        self.driver = subprocess.Popen([DRIVER, "--port=%d" % self.port],
                                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        wait_for("chromedriver", self._ready, 20)
        args = ["--headless", "--no-sandbox", "--disable-gpu", "--disable-quic", "--no-first-run",
                "--disable-background-networking", "--disable-component-update", "--disable-sync",
                "--window-size=" + PHONE_SIZE, "--user-data-dir=" + profile]
        answer = self.call("POST", "/session", {"capabilities": {"alwaysMatch": {
            "browserName": "chrome", "goog:chromeOptions": {"binary": CHROMIUM, "args": args}}}})
        self.session = answer["sessionId"]

    def _ready(self):
        try:
            return self.call("GET", "/status")["ready"]
        except OSError:
            return False

    def call(self, method, path, body=None):
        data = None if body is None else json.dumps(body).encode()
        request = urllib.request.Request("http://127.0.0.1:%d%s" % (self.port, path), data=data, method=method,
                                         headers={"Content-Type": "application/json"})
        with urllib.request.urlopen(request, timeout=30) as response:
            return json.loads(response.read())["value"]

    def go(self, url):
        self.call("POST", "/session/%s/url" % self.session, {"url": url})

    def find(self, xpath):
        found = self.call("POST", "/session/%s/elements" % self.session, {"using": "xpath", "value": xpath})
        return next(iter(found[0].values())) if found else None

    def click(self, xpath):
        element = wait_for(xpath, lambda: self.find(xpath), 10)
        self.call("POST", "/session/%s/element/%s/click" % (self.session, element), {})

    def type(self, xpath, text):
        element = wait_for(xpath, lambda: self.find(xpath), 10)
        self.call("POST", "/session/%s/element/%s/value" % (self.session, element), {"text": text})

    def text(self, xpath):
        element = self.find(xpath)
        return self.call("GET", "/session/%s/element/%s/text" % (self.session, element)) if element else ""

    def quit(self):
        try:
            self.call("DELETE", "/session/%s" % self.session)
        finally:
            self.driver.terminate()
            self.driver.wait(timeout=10)


def search(cli, data, item):
    out = subprocess.run([cli, "--data-folder", data, "search", "家計簿", "--item", item],
                         capture_output=True, text=True, check=True).stdout
    return out.splitlines()


def main():
    if len(sys.argv) != 2:
        fail("usage: PhonePageTest.py BIN-DIR")
    if not (os.path.exists(CHROMIUM) and os.path.exists(DRIVER)):
        fail("chromium and chromium-driver are needed (scripts/install-deps.sh installs them)")
    cli = os.path.join(sys.argv[1], "tavimrok-cli")
    work = tempfile.mkdtemp(prefix="kzm-phone-")
    data, state = os.path.join(work, "data"), os.path.join(work, "state")
    subprocess.run([cli, "demo", data, "--years", "1", "--seed", "2"], check=True, stdout=subprocess.DEVNULL)
    port = free_port()
    serve = Serve(cli, data, state, port)
    browser = Browser(os.path.join(work, "chromium"))
    try:
        browser.go(serve.first[1] + "#code=" + serve.first[3])
        browser.click("//button[@id='pair']")
        browser.click("//div[@id='cats']/button[text()='食費']")
        browser.type("//input[@id='amount']", "298*3")
        browser.type("//input[@id='item']", "ブラウザのパン")
        browser.click("//button[@id='send']")
        wait_for("the entry in the sent list", lambda: "894円" in browser.text("//ul[@id='sent']"), 10)

        serve.stop()
        browser.click("//div[@id='cats']/button[text()='食費']")
        browser.type("//input[@id='amount']", "120")
        browser.type("//input[@id='item']", "オフラインのアメ")
        browser.click("//button[@id='send']")
        wait_for("未送信 1件", lambda: browser.text("//span[@id='queued']") == "未送信 1件", 10)

        serve = Serve(cli, data, state, port)
        wait_for("the queue to empty", lambda: browser.text("//span[@id='queued']") == "", 20)
        wait_for("the queued entry in the list", lambda: "120円" in browser.text("//ul[@id='sent']"), 10)
    finally:
        browser.quit()
        serve.stop()
    if len(search(cli, data, "ブラウザのパン")) != 1 or len(search(cli, data, "オフラインのアメ")) != 1:
        fail("each entry should be in the passbook once")
    shutil.rmtree(work, ignore_errors=True)
    print("paired, booked 894 and a queued 120 once each through Chromium")


if __name__ == "__main__":
    main()
