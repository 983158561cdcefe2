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
 - a frame after a click: from a click's press, and from its release, to the
   first frame put on the canvas after it, median of 40 clicks alternating
   between « Murs » and « Plancher » (each opens its panel), in a canvas of
   1024 x 768 pixels and in one of 2560 x 1600 (1280 x 800 at a pixel
   ratio of 2);
 - a whole frame: from a resize of the window to the frame drawn whole at
   the new size, at 1024 x 768, 1920 x 1080 and 2560 x 1600 pixels (the
   last at a pixel ratio of 2);
 - idle CPU: the CPU time of every Chromium process over 10 s while the
   page shows the main screen and nothing happens (15 s after the last
   click: V8 optimises the hot functions in the background until then),
   in % of one core, and
   the page's own script and task time (DevTools' Performance metrics);
   the same for an empty page, what Chromium costs by itself.
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

        # The first frame put on the canvas after a press and after a release
        # (event.timeStamp and performance.now() share their clock).
        js("window.bench = {down: 0, up: 0, afterDown: 0, afterUp: 0};"
           "var shown = Module.onMaisonFrame;"
           "Module.onMaisonFrame = function() { shown(); var t = performance.now();"
           "  if (bench.down && !bench.afterDown) bench.afterDown = t;"
           "  if (bench.up && !bench.afterUp) bench.afterUp = t; };"
           "addEventListener('mousedown', function(e) { bench.down = e.timeStamp;"
           "  bench.afterDown = 0; bench.up = 0; bench.afterUp = 0; }, true);"
           "addEventListener('mouseup', function(e) { bench.up = e.timeStamp; }, true);")
        clicks = {}
        for i in range(80):
            if i % 40 == 0:
                size = (1024, 768, 1) if i == 0 else (1280, 800, 2)
                d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                                  {"width": size[0], "height": size[1],
                                   "deviceScaleFactor": size[2], "mobile": False})
                time.sleep(0.5)
                pressed, released = clicks.setdefault(size, ([], []))
            x, y = at(230, 92) if i % 2 == 0 else at(230, 57)
            for kind, buttons in (("mouseMoved", 0), ("mousePressed", 1), ("mouseReleased", 0)):
                d.execute_cdp_cmd("Input.dispatchMouseEvent",
                                  {"type": kind, "x": x, "y": y, "button": "left",
                                   "buttons": buttons, "clickCount": 1})
            end = time.time() + 5
            while time.time() < end and not js("return bench.afterUp"):
                time.sleep(0.01)
            time.sleep(0.4)  # the panel's animation ends
            b = js("return bench")
            pressed.append(b["afterDown"] - b["down"])
            released.append(b["afterUp"] - b["up"])

        # A whole frame: the window resized, everything drawn again.
        # (The time is taken just before the resize is asked for: a listener
        # of the window's resize would run after the page's, which draws.)
        js("bench.resized = 0; bench.afterResize = 0;"
           "var counted = Module.onMaisonFrame;"
           "Module.onMaisonFrame = function() { counted();"
           "  if (bench.resized && !bench.afterResize) bench.afterResize = performance.now(); };")
        whole = {}
        for w, h, r in ((1024, 768, 1), (1920, 1080, 1), (1280, 800, 2)) * 4:
            js("bench.resized = performance.now(); bench.afterResize = 0;")
            d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                              {"width": w, "height": h, "deviceScaleFactor": r, "mobile": False})
            end = time.time() + 5
            while time.time() < end and not js("return bench.afterResize"):
                time.sleep(0.01)
            time.sleep(0.3)
            whole.setdefault((w * r, h * r), []).append(
                js("return bench.afterResize - bench.resized"))
        d.execute_cdp_cmd("Emulation.setDeviceMetricsOverride",
                          {"width": 1024, "height": 768, "deviceScaleFactor": 1, "mobile": False})
        d.execute_cdp_cmd("Input.dispatchMouseEvent",
                          {"type": "mouseMoved", "x": 5, "y": 5, "button": "none"})
        # V8 compiles the functions the clicks made hot again, optimised, in
        # the background for some seconds: the page is idle only after that.
        time.sleep(15)
        pids = descendants(service.process.pid)
        hz = os.sysconf("SC_CLK_TCK")

        def idle_cpu():
            d.execute_cdp_cmd("Performance.enable", {})
            m0 = {m["name"]: m["value"] for m in
                  d.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]}
            t0, c0 = time.time(), cpu_ticks(pids)
            time.sleep(10)
            t1, c1 = time.time(), cpu_ticks(pids)
            m1 = {m["name"]: m["value"] for m in
                  d.execute_cdp_cmd("Performance.getMetrics", {})["metrics"]}
            return (100.0 * (c1 - c0) / hz / (t1 - t0),
                    1000.0 * (m1["ScriptDuration"] - m0["ScriptDuration"]),
                    1000.0 * (m1["TaskDuration"] - m0["TaskDuration"]))

        idle = idle_cpu()
        # The same browser showing an empty page: what Chromium costs by itself.
        d.get("data:text/html,<title>vide</title>")
        time.sleep(5)
        blank = idle_cpu()
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
    for (w, h, r), (pressed, released) in clicks.items():
        for what, times in (("press", pressed), ("release", released)):
            print(f"| A click, {w * r} x {h * r} pixels: from its {what} to the first frame on "
                  f"the canvas (median of {len(times)}) | {statistics.median(times):.1f} ms "
                  f"(90th centile {sorted(times)[int(0.9 * len(times))]:.1f} ms) | < 16 ms |")
    for (w, h), times in whole.items():
        print(f"| A whole frame at {w:.0f} x {h:.0f} pixels, from the resize asked to the canvas "
              f"(median of {len(times)}) | {statistics.median(times):.1f} ms | |")
    print(f"| Idle, 10 s on the main screen: CPU of Chromium's {len(pids)} processes | "
          f"{idle[0]:.2f} % of one core (an empty page: {blank[0]:.2f} %) | < 1 % |")
    print(f"| Idle: the page's scripts and tasks over those 10 s | {idle[1]:.1f} ms of script, "
          f"{idle[2]:.1f} ms of tasks (an empty page: {blank[1]:.1f} ms, {blank[2]:.1f} ms) | |")


if __name__ == "__main__":
    main()
