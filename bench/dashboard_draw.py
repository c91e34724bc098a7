#!/usr/bin/python3
"""How long the dashboard takes to draw a long run in a real browser.

Writes a run of STEPS steps with monsynth, serves it with monplot -serve, and
opens its run page in Debian's headless Chromium REPEAT times: each time from
a new page load (navigation start) to the page's mark that every plot is
drawn (data-drawn-after, milliseconds since navigation start). The server has
read the run before the first load, as it has when a user opens a page, and
the browser has shown the runs page; the first load is the server's first
drawing of the run's plots, the later ones find them drawn.

    /usr/bin/python3 bench/dashboard_draw.py BUILD_DIR [--steps 1000000] [--variables 8]
"""

import argparse
import json
import os
import re
import statistics
import subprocess
import sys
import tempfile
import time
import urllib.request

from selenium import webdriver
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.support.ui import WebDriverWait

FLAGS = ["--headless", "--no-sandbox", "--disable-gpu", "--no-first-run",
         "--disable-background-networking", "--window-size=1300,1000"]


def start_server(build, source):
    server = subprocess.Popen([os.path.join(build, "monplot"), "-serve", "0", "-mon", source],
                              stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    match = re.search(r"http://127\.0\.0\.1:(\d+)/\?token=([0-9a-f]{32})",
                      server.stdout.readline())
    if not match:
        server.kill()
        sys.exit("monplot -serve did not start")
    return server, match


def wait_until_read(match):
    request = urllib.request.Request(f"http://127.0.0.1:{match.group(1)}/api/runs",
                                     headers={"Authorization": "token " + match.group(2)})
    while True:
        runs = json.load(urllib.request.urlopen(request))["runs"]
        if runs and runs[0]["read"]:
            return runs[0]["id"]
        time.sleep(0.2)


def draw_times(url, run, repeat):
    options = webdriver.ChromeOptions()
    for flag in FLAGS:
        options.add_argument(flag)
    options.add_argument("--user-data-dir=" + tempfile.mkdtemp(prefix="chromium-"))
    options.binary_location = "/usr/bin/chromium"
    browser = webdriver.Chrome(service=Service("/usr/bin/chromedriver"), options=options)
    try:
        browser.get(url)  # the token becomes the session cookie; the runs page
        WebDriverWait(browser, 120).until(lambda d: d.execute_script(
            "const m = document.querySelector('main'); return m && m.dataset.state === 'drawn'"))
        times = []
        for _ in range(repeat):
            browser.get("about:blank")
            browser.get(url.split("?")[0] + "#/run/" + run)
            WebDriverWait(browser, 120).until(lambda d: d.execute_script(
                "const m = document.querySelector('main'); return m && m.dataset.state === 'drawn'"
                " && m.dataset.page === 'run' && m.dataset.drawnAfter"))
            times.append(int(browser.execute_script(
                "return document.querySelector('main').dataset.drawnAfter")))
        return times
    finally:
        browser.quit()


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("build")
    parser.add_argument("--steps", type=int, default=1_000_000)
    parser.add_argument("--variables", type=int, default=8)
    parser.add_argument("--repeat", type=int, default=5)
    args = parser.parse_args()
    with tempfile.TemporaryDirectory() as folder:
        source = os.path.join(folder, "long.mon")
        subprocess.run([os.path.join(args.build, "monsynth"), "--out", source, "--steady",
                        "--steps", str(args.steps), "--variables", str(args.variables)],
                       check=True, stdout=subprocess.DEVNULL)
        server, match = start_server(args.build, source)
        try:
            run = wait_until_read(match)
            times = draw_times(match.group(0), run, args.repeat)
        finally:
            server.terminate()
            server.wait()
    print(f"{args.steps} steps, {args.variables} variables: drawn after {times[0]} ms the first "
          f"time, then {min(times[1:])} ms (best), {statistics.median(times[1:]):.0f} ms (median) "
          f"of {times[1:]}")


if __name__ == "__main__":
    main()
