#!/usr/bin/env python3
"""The phone's page: first contentful paint in headless Chromium at a phone's size with the CPU
slowed four times (DevTools' CPU throttling), served by tavimrok-cli serve on loopback.

    bench/phone_page_paint.py BUILD-BIN-DIR [RUNS]

Prints each run's first contentful paint and the median, in milliseconds.
"""

import os
import statistics
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests", "phone"))
from PhonePageTest import Browser, Serve, free_port  # noqa: E402


def main():
    cli = os.path.join(sys.argv[1], "tavimrok-cli")
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 9
    work = tempfile.mkdtemp(prefix="kzm-paint-")
    data = os.path.join(work, "data")
    subprocess.run([cli, "demo", data, "--years", "1"], check=True, stdout=subprocess.DEVNULL)
    serve = Serve(cli, data, os.path.join(work, "state"), free_port())
    browser = Browser(os.path.join(work, "chromium"))
    paints = []
    try:
        cdp = "/session/%s/goog/cdp/execute" % browser.session
        browser.call("POST", cdp, {"cmd": "Emulation.setCPUThrottlingRate", "params": {"rate": 4}})
        browser.call("POST", cdp, {"cmd": "Network.setCacheDisabled", "params": {"cacheDisabled": True}})
        for _ in range(runs):
            browser.go("about:blank")
            browser.go(serve.first[1])
            paint = browser.call("POST", "/session/%s/execute/sync" % browser.session, {
                "script": "const p = performance.getEntriesByName('first-contentful-paint')[0];"
                          "return p ? p.startTime : -1;", "args": []})
            paints.append(paint)
    finally:
        browser.quit()
        serve.stop()
    print("first contentful paint (ms), CPU slowed 4x:", " ".join("%.0f" % p for p in paints))
    print("median %.0f ms" % statistics.median(paints))


if __name__ == "__main__":
    main()
