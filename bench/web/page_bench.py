#!/usr/bin/python3
"""Figures of the page (build/web) in headless Chromium; a benchmark, never a test.

    bench/web/page_bench.py SITE_DIR [RUNS]

Prints a Markdown table:
 - transfer: what a first visit downloads (the page's files, maison.js,
   maison.wasm with the scene and the fonts inside), each gzipped (-9) as a
   web server would send it; the embedded fonts and scene on their own;
 - navigation to first frame: from the start of the navigation to the first
   frame on the canvas (maison.firstFrameAt), the browser's cache off,
   median of RUNS (default 5) loads from a local server;
 - a frame after a click: from a click's press event (its timeStamp) to the
   frame that shows the panel it opens, median of 40 clicks alternating
   between « Murs » and « Plancher »;
 - idle CPU: the CPU time of every Chromium process over 10 s while the
   page shows the main screen and nothing happens, in % of one core.
"""
import functools
import gzip
import http.server
import os
import shutil
import statistics
import sys
import threading
import time
from pathlib import Path

from selenium import webdriver
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service

LOADED = ("index.html", "page.js", "page.css", "maison.js", "maison.wasm", "manifest.webmanifest",
          "icon.svg", "icon-192.png", "sw.js")


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm"}

    def log_message(self, *args):
        pass


def gz(data):
    return len(gzip.compress(data, 9))


def transfer(site, embedded):
    rows, total = [], 0
    for name in LOADED:
        size = gz((site / name).read_bytes())
        total += size
        rows.append((name, size))
    inside = []
    for path in sorted(embedded.rglob("*")):
        if path.is_file() and path.suffix in (".ttf", ".SP1"):
            inside.append((path.name, gz(path.read_bytes())))
    return rows, total, inside


def descendants(pid):
    children = {}
    for stat in Path("/proc").glob("[0-9]*/stat"):
        try:
            fields = stat.read_text().rsplit(")", 1)[1].split()
        except OSError:
            continue
        children.setdefault(int(fields[1]), []).append(int(stat.parent.name))
    found, todo = [], [pid]
    while todo:
        p = todo.pop()
        found.append(p)
        todo.extend(children.get(p, []))
    return found


def cpu_ticks(pids):
    ticks = 0
    for pid in pids:
        try:
            fields = Path(f"/proc/{pid}/stat").read_text().rsplit(")", 1)[1].split()
            ticks += int(fields[11]) + int(fields[12])
        except OSError:
            pass
    return ticks


def main():
    if len(sys.argv) < 2:
        sys.exit(__doc__)
    site = Path(sys.argv[1]).resolve()
    runs = int(sys.argv[2]) if len(sys.argv) > 2 else 5
    embedded = site.parent / "web-page" / "embedded"

    httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                            functools.partial(Quiet, directory=str(site)))
    threading.Thread(target=httpd.serve_forever, daemon=True).start()
    url = f"http://127.0.0.1:{httpd.server_address[1]}/"

    options = Options()
    options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
    for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                 "--disable-background-networking", "--disable-extensions",
                 "--disable-component-update", "--no-first-run", "--window-size=1024,768"):
        options.add_argument(flag)
    service = Service(shutil.which("chromedriver") or "/usr/bin/chromedriver")
    d = webdriver.Chrome(service=service, options=options)
    js = d.execute_script
    try:
        d.execute_cdp_cmd("Network.enable", {})
        d.execute_cdp_cmd("Network.setCacheDisabled", {"cacheDisabled": True})
        d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                          {"width": 1024, "height": 768, "deviceScaleFactor": 1, "mobile": False})

        def load():
            d.get(url)
            end = time.time() + 30
            while time.time() < end and not js("return window.maison && maison.frames > 0"):
                time.sleep(0.02)
            return js("return maison.firstFrameAt")

        firsts = [load() for _ in range(runs)]

        def at(lx, ly):
            w, h = js("return [innerWidth, innerHeight]")
            s = min(w / 800, h / 600)
            return (w - 800 * s) / 2 + lx * s, (h - 600 * s) / 2 + (600 - ly) * s

        js("window.pressedAt = 0; window.addEventListener('mousedown', function(e) {"
           " window.pressedAt = e.timeStamp; }, true);")
        frames = []
        for i in range(40):
            x, y = at(230, 92) if i % 2 == 0 else at(230, 57)
            before = js("return maison.frames")
            for kind, buttons in (("mouseMoved", 0), ("mousePressed", 1), ("mouseReleased", 0)):
                d.execute_cdp_cmd("Input.dispatchMouseEvent",
                                  {"type": kind, "x": x, "y": y, "button": "left",
                                   "buttons": buttons, "clickCount": 1})
            end = time.time() + 5
            while time.time() < end:
                # The panel's frame: the last one drawn once the page is still.
                if js("return maison.frames") > before and \
                        js("return performance.now() - maison.lastFrameAt") > 150:
                    break
                time.sleep(0.01)
            frames.append(js("return maison.lastFrameAt - window.pressedAt"))

        d.execute_cdp_cmd("Input.dispatchMouseEvent",
                          {"type": "mouseMoved", "x": 5, "y": 5, "button": "none"})
        time.sleep(2)
        pids = descendants(service.process.pid)
        hz = os.sysconf("SC_CLK_TCK")
        t0, c0 = time.time(), cpu_ticks(pids)
        time.sleep(10)
        t1, c1 = time.time(), cpu_ticks(pids)
        idle = 100.0 * (c1 - c0) / hz / (t1 - t0)
    finally:
        d.quit()
        httpd.shutdown()

    rows, total, inside = transfer(site, embedded)
    print("| What | Figure | Aim |")
    print("|---|---|---|")
    print(f"| Transfer of a first visit, gzipped | {total / 1e6:.2f} MB | < 2 MB |")
    for name, size in rows:
        print(f"| &nbsp;&nbsp;{name} | {size / 1e3:.1f} kB | |")
    for name, size in inside:
        print(f"| &nbsp;&nbsp;&nbsp;&nbsp;inside maison.wasm: {name} | {size / 1e3:.1f} kB | |")
    print(f"| Navigation to first frame (median of {runs}, cache off) | "
          f"{statistics.median(firsts):.0f} ms (from {min(firsts):.0f} to {max(firsts):.0f}) "
          "| < 1.5 s |")
    print(f"| A frame after a click (median of {len(frames)}) | "
          f"{statistics.median(frames):.1f} ms (90th centile "
          f"{sorted(frames)[int(0.9 * len(frames))]:.1f} ms) | < 16 ms |")
    print(f"| Idle CPU of Chromium's {len(pids)} processes, 10 s on the main screen | "
          f"{idle:.2f} % of one core | < 1 % |")


if __name__ == "__main__":
    main()
