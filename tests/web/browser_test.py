#!/usr/bin/python3
"""The page (build/web) in a real browser: headless Chromium driven by Selenium.

    browser_test.py SITE_DIR NATIVE_BIN_DIR [STORM_SECONDS]

SITE_DIR is served on a free port (Python's http.server). In order:
 1. the start screen, drawn in an 800 x 600 canvas, matches the native image
    reference tests/images/expected/01-start.png as the image tests compare
    (ImageMagick, pixels off by more than 5 %, at most 60);
 2. at a device pixel ratio of 2 the canvas holds twice as many pixels;
 3. real pointer events click « Murs » and the « + » of row 3: the trace
    (?trace=1, maison.trace) shows HOME.A1 « brique pleine » and HOME.A3
    « laine de verre »; Tab, Tab, Enter open the « Plancher » panel; a tap
    opens the results view, a long press (a right click) closes it;
 4. F8 (the page's key) pins the reference, a setting changes the annual
    need, the « Rapport » button downloads the report: its PDF holds both
    needs (pdftotext), a CSV comes with it; F2 downloads a PNG screenshot;
 5. a storm of random taps, long presses, clicks, drags, keys and resizes
    (STORM_SECONDS, default 30; its seed is printed, MAISON_STORM_SEED
    replays it) leaves no error in the console and the page answering;
 6. « × » ends the session: « Session terminée » and the recording, which
    the native program (NATIVE_BIN_DIR/maison) replays headless into the
    very trace the page wrote, storm included;
 7. a round through every panel and view, played again and again, leaves
    the program's heap, its WebAssembly memory and the page's JavaScript
    heap where they were (?record=0, no trace: nothing grows by design);
 8. index.html opened from the folder (file://) starts; ?code=0 (one frame)
    ends at once; a bad code is explained, and so is a browser without
    WebAssembly; F7's palette is still there at the next visit; once
    loaded, the page starts again with the server stopped (service worker).
Exits 0 when every step passed; each failure is named on standard error.
"""
import functools
import http.server
import json
import os
import random
import re
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

from selenium import webdriver
from selenium.common.exceptions import WebDriverException
from selenium.webdriver.chrome.options import Options
from selenium.webdriver.chrome.service import Service
from selenium.webdriver.common.action_chains import ActionChains
from selenium.webdriver.common.keys import Keys

HERE = Path(__file__).resolve().parent
ROOT = HERE.parent.parent
LAYOUT_W, LAYOUT_H = 800, 600
IMAGE_TOLERANCE = int(os.environ.get("IMAGE_TOLERANCE", "60"))
# The quit button (« × », top right): the storm stays away from it.
QUIT = (766, 568, 790, 590)
failures = []


def log(text):
    print(f"browser_test: {text}", flush=True)


class Failed(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Failed(message)


# --- The server ---------------------------------------------------------------
class Server:
    """SITE_DIR over HTTP on a free port of 127.0.0.1, until stop()."""

    def __init__(self, site):
        handler = functools.partial(Quiet, directory=str(site))
        self.httpd = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
        self.url = f"http://127.0.0.1:{self.httpd.server_address[1]}/"
        self.thread = threading.Thread(target=self.httpd.serve_forever, daemon=True)
        self.thread.start()

    def stop(self):
        if self.thread.is_alive():
            self.httpd.shutdown()
            self.httpd.server_close()


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                      ".wasm": "application/wasm", ".webmanifest": "application/manifest+json"}

    def log_message(self, *args):
        pass


# --- The browser --------------------------------------------------------------
class Page:
    def __init__(self, downloads):
        options = Options()
        options.binary_location = shutil.which("chromium") or "/usr/bin/chromium"
        for flag in ("--headless=new", "--no-sandbox", "--disable-gpu", "--disable-dev-shm-usage",
                     "--disable-background-networking", "--disable-extensions",
                     "--disable-component-update", "--no-first-run", "--mute-audio",
                     "--enable-precise-memory-info", "--window-size=1024,768"):
            options.add_argument(flag)
        options.add_experimental_option("prefs", {
            "download.default_directory": str(downloads),
            "download.prompt_for_download": False,
            "profile.default_content_setting_values.automatic_downloads": 1,
        })
        options.set_capability("goog:loggingPrefs", {"browser": "ALL"})
        driver = shutil.which("chromedriver") or "/usr/bin/chromedriver"
        self.d = webdriver.Chrome(service=Service(driver), options=options)
        self.d.set_script_timeout(30)
        self.cdp("Browser.setDownloadBehavior", behavior="allow", downloadPath=str(downloads))
        self.downloads = downloads
        self.console = []

    def cdp(self, command, **params):
        return self.d.execute_cdp_cmd(command, params)

    def js(self, script, *args):
        return self.d.execute_script(script, *args)

    def quit(self):
        try:
            self.d.quit()
        except WebDriverException:
            pass

    def open(self, url, size=(1024, 768), ratio=1):
        self.metrics(size, ratio)
        self.d.get(url)
        self.wait("window.maison && (maison.frames > 0 || maison.state !== 'chargement')",
                  30, f"the page at {url} to draw its first frame")
        check(self.js("return maison.state") == "en cours",
              f"{url}: the page says « {self.message()} » instead of running")

    def metrics(self, size, ratio):
        self.cdp("Emulation.setDeviceMetricsOverride", width=size[0], height=size[1],
                 deviceScaleFactor=ratio, mobile=False)

    def wait(self, condition, seconds, what):
        end = time.time() + seconds
        while time.time() < end:
            value = self.js("return " + condition)
            if value:
                return value
            time.sleep(0.05)
        raise Failed(f"waited {seconds} s for {what} ({condition})")

    def message(self):
        return self.js("var m = document.getElementById('message');"
                       "return m.hidden ? '' : m.innerText.replace(/\\s+/g, ' ')")

    def read_console(self):
        """The console lines since the last call (levels SEVERE, WARNING, INFO)."""
        entries = self.d.get_log("browser")
        self.console.extend(entries)
        return entries

    def errors(self):
        return [e["message"] for e in self.read_console() if e["level"] == "SEVERE"]

    # Pointer positions: layout units (origin bottom-left) to CSS pixels of
    # the viewport, through the letterbox the renderer draws.
    def at(self, lx, ly):
        w, h = self.js("return [innerWidth, innerHeight]")
        s = min(w / LAYOUT_W, h / LAYOUT_H)
        return (w - LAYOUT_W * s) / 2 + lx * s, (h - LAYOUT_H * s) / 2 + (LAYOUT_H - ly) * s

    def mouse(self, kind, x, y, button="left", buttons=1):
        self.cdp("Input.dispatchMouseEvent", type=kind, x=x, y=y, button=button,
                 buttons=buttons if kind != "mouseReleased" else 0, clickCount=1)

    def click(self, lx, ly):
        """A real click of the mouse, as Selenium's actions make it."""
        x, y = self.at(lx, ly)
        canvas = self.d.find_element("id", "canvas")
        rect = self.js("var r = arguments[0].getBoundingClientRect(); return [r.width, r.height]",
                       canvas)
        (ActionChains(self.d).move_to_element_with_offset(
            canvas, round(x - rect[0] / 2), round(y - rect[1] / 2)).click().perform())

    def touch(self, kind, x, y):
        points = [] if kind == "touchEnd" else [{"x": x, "y": y, "id": 1}]
        self.cdp("Input.dispatchTouchEvent", type=kind, touchPoints=points)

    def key(self, key, shift=False):
        ActionChains(self.d).key_down(Keys.SHIFT).send_keys(key).key_up(Keys.SHIFT).perform() \
            if shift else ActionChains(self.d).send_keys(key).perform()

    def trace_state(self):
        """The bound records as the trace's exec lines leave them."""
        state = {}
        for line in self.js("return maison.trace"):
            event = json.loads(line)
            if event.get("event") == "exec":
                state.update(event.get("state", {}))
        return state

    def wait_state(self, name, value, seconds=10):
        end = time.time() + seconds
        while time.time() < end:
            if self.trace_state().get(name) == value:
                return
            time.sleep(0.05)
        raise Failed(f"the trace never showed {name} = {value!r} (last: "
                     f"{self.trace_state().get(name)!r})")

    def memory(self):
        self.cdp("HeapProfiler.enable")
        self.cdp("HeapProfiler.collectGarbage")
        used = self.js("return performance.memory ? performance.memory.usedJSHeapSize : 0")
        program = self.js("return Module.maisonMemory()")
        return {"heap": program["heap"], "memory": program["memory"], "js": used}

    def downloaded(self, suffix, seconds=15, before=()):
        end = time.time() + seconds
        while time.time() < end:
            found = [p for p in sorted(self.downloads.iterdir())
                     if p.name.endswith(suffix) and p.name not in before]
            if found:
                time.sleep(0.2)  # the browser renames the file once whole
                return found[-1]
            time.sleep(0.1)
        raise Failed(f"no *{suffix} was downloaded into {self.downloads} within {seconds} s")


def compare_pictures(picture, reference):
    """Pixels off by more than 5 %, as tests/images/image_test.sh counts them."""
    result = subprocess.run(["compare", "-metric", "AE", "-fuzz", "5%", str(picture),
                             str(reference), "null:"], capture_output=True, text=True)
    text = (result.stderr or result.stdout).split()
    check(text and result.returncode in (0, 1), f"compare could not compare: {result.stderr}")
    return int(float(text[0]))


def png_size(path):
    data = Path(path).read_bytes()[:24]
    check(data[:8] == b"\x89PNG\r\n\x1a\n", f"{path} is not a PNG")
    return int.from_bytes(data[16:20], "big"), int.from_bytes(data[20:24], "big")


# --- The steps ----------------------------------------------------------------
def step_picture(page, url, work):
    page.open(url + "?trace=1", size=(LAYOUT_W, LAYOUT_H))
    page.wait("maison.frames > 0 && performance.now() - maison.lastFrameAt > 300", 10,
              "the picture to settle")
    check(page.js("return [canvas.width, canvas.height]") == [LAYOUT_W, LAYOUT_H],
          f"the canvas has {page.js('return [canvas.width, canvas.height]')} pixels in an "
          "800 x 600 window")
    shot = work / "page-start.png"
    shot.write_bytes(page.d.find_element("id", "canvas").screenshot_as_png)
    reference = ROOT / "tests/images/expected/01-start.png"
    differing = compare_pictures(shot, reference)
    log(f"  the start screen: {differing} pixels differ from {reference.name}")
    check(differing <= IMAGE_TOLERANCE,
          f"the page's start screen differs from {reference} in {differing} pixels "
          f"(allowed {IMAGE_TOLERANCE}); picture kept in {shot}")


def step_sharp(page):
    frames = page.js("return maison.frames")
    page.metrics((640, 400), 2)
    page.wait(f"maison.frames > {frames}", 10, "a frame at the new size")
    size = page.js("return [canvas.width, canvas.height, canvas.clientWidth, canvas.clientHeight]")
    check(size == [1280, 800, 640, 400],
          f"at a pixel ratio of 2 a 640 x 400 canvas should hold 1280 x 800 pixels: {size}")


def step_pointer_and_keys(page):
    page.metrics((1024, 768), 1)
    page.click(230, 92)  # « Murs »
    page.wait_state("HOME.A1", "brique pleine")
    page.click(775, 389)  # the « + » of row 3
    page.wait_state("HOME.A3", "laine de verre")
    # The ring comes with the first Tab on « Murs », the second takes it to
    # « Plancher », Enter clicks it.
    page.key(Keys.TAB)
    page.key(Keys.TAB)
    page.key(Keys.ENTER)
    page.wait_state("HOMBASE.TALPLAN", [1, 1])
    # Touch: a tap on « Résultats » opens the results view (the program
    # plays MENUVISU while it is open), a tap beside its menu leaves it
    # open, a long press (a right click) closes it (HOME again).
    def actions_after(lines):
        return [json.loads(line).get("action") for line in page.js("return maison.trace")[lines:]]

    def touch(lx, ly, held):
        x, y = page.at(lx, ly)
        lines = len(page.js("return maison.trace"))
        page.touch("touchStart", x, y)
        time.sleep(held)
        page.touch("touchEnd", x, y)
        time.sleep(0.5)
        return actions_after(lines)

    check("MENUVISU" in touch(685, 42, 0.05), "a tap on « Résultats » did not open the results view")
    seen = touch(400, 300, 0.05)
    check("HOME" not in seen, f"a tap beside the results menu closed it: {seen}")
    seen = touch(400, 300, 0.8)
    check(seen[-1:] == ["HOME"], f"a long press did not close the results view: {seen}")


def step_report(page):
    before = page.trace_state().get("FONDRES.G1")
    check(before, "the trace holds no annual need (FONDRES.G1)")
    page.key(Keys.F8)  # the page's key for the reference
    page.click(775, 509)  # « + » of the floor's row 1: another floor
    end = time.time() + 10
    while time.time() < end and page.trace_state().get("FONDRES.G1") == before:
        time.sleep(0.05)
    after = page.trace_state().get("FONDRES.G1")
    check(after != before, f"the annual need stayed {before} after a new floor")
    page.click(706, 135)  # « Rapport »
    pdf = page.downloaded(".pdf")
    page.downloaded(".csv")
    text = subprocess.run(["pdftotext", "-layout", str(pdf), "-"], capture_output=True,
                          text=True, check=True).stdout
    squeezed = text.replace("\u202f", "").replace("\u00a0", "").replace(" ", "")
    for need, what in ((before, "the reference's"), (after, "the current")):
        check(need.replace(" ", "") in squeezed,
              f"the report {pdf.name} lacks {what} annual need {need}")
    log(f"  report {pdf.name}: annual needs {after} and reference {before}")
    page.key(Keys.F2)  # the page's screenshot key
    png = page.downloaded(".png")
    size = png_size(png)
    canvas = page.js("return [canvas.width, canvas.height]")
    check(list(size) == canvas, f"the screenshot is {size}, the canvas {canvas}")


def random_point(rng, page):
    while True:
        lx, ly = rng.uniform(0, LAYOUT_W), rng.uniform(0, LAYOUT_H)
        if not (QUIT[0] - 8 <= lx <= QUIT[2] + 8 and QUIT[1] - 8 <= ly <= QUIT[3] + 8):
            return page.at(lx, ly)


def step_storm(page, seconds, seed):
    rng = random.Random(seed)
    sizes = [(1024, 768, 1), (640, 480, 1), (1280, 720, 1.5), (500, 700, 2), (800, 600, 1)]
    keys = [Keys.TAB, Keys.ENTER, Keys.SPACE, Keys.F8, Keys.F5, Keys.ARROW_LEFT, "a", "z"]
    page.read_console()
    before = page.memory()
    end = time.time() + seconds
    events = 0
    while time.time() < end:
        what = rng.random()
        x, y = random_point(rng, page)
        if what < 0.3:
            page.touch("touchStart", x, y)
            time.sleep(rng.choice([0.01, 0.05, 0.7]))  # a tap, or a long press
            page.touch("touchEnd", x, y)
        elif what < 0.55:
            button = rng.choice(["left", "left", "right"])
            flags = 1 if button == "left" else 2
            page.mouse("mouseMoved", x, y, "none", 0)
            page.mouse("mousePressed", x, y, button, flags)
            for _ in range(rng.randrange(3)):  # a drag
                x, y = random_point(rng, page)
                page.mouse("mouseMoved", x, y, button, flags)
            page.mouse("mouseReleased", x, y, button)
        elif what < 0.85:
            page.key(rng.choice(keys), shift=rng.random() < 0.2)
        elif what < 0.95:
            page.mouse("mouseMoved", x, y, "none", 0)
        else:
            w, h, r = rng.choice(sizes)
            page.metrics((w, h), r)
        events += 1
    page.metrics((1024, 768), 1)
    time.sleep(1.0)
    errors = page.errors()
    check(page.js("return maison.state") == "en cours",
          f"the storm ended the session: « {page.message()} »")
    check(not errors, f"the console shows errors after the storm: {errors[:5]}")
    after = page.memory()
    log(f"  {events} events in {seconds:.0f} s; program heap {before['heap']} -> "
        f"{after['heap']} bytes, WebAssembly memory {before['memory']} -> {after['memory']}")
    # Still answering: a click reaches the program.
    lines = len(page.js("return maison.trace"))
    page.click(230, 92)
    page.wait(f"maison.trace.length > {lines}", 10, "the program to answer a click after the storm")


# One round through the scene that leaves it as it found it: every panel,
# the house views and the results view opened and closed, a help page shown
# and dismissed, the reference pinned and cleared, the focus ring moved.
PANELS = [(231, 92), (231, 57), (231, 21), (341, 92), (341, 57), (341, 21), (451, 92), (451, 21)]
ROUND = ([("click", x, y) for x, y in PANELS] +
         [("click", 756, 55), ("click", 756, 55), ("click", 756, 35), ("click", 756, 35),
          ("click", 756, 15), ("click", 756, 15),
          ("click", 685, 42), ("right", 400, 300),
          ("click", 670, 579), ("click", 80, 579), ("click", 400, 300), ("right", 400, 300),
          ("key", Keys.F8), ("shift", Keys.F8), ("key", Keys.TAB), ("key", Keys.TAB)])


def play_round(page):
    for kind, *where in ROUND:
        if kind in ("click", "right"):
            x, y = page.at(*where)
            button, flags = ("left", 1) if kind == "click" else ("right", 2)
            page.mouse("mouseMoved", x, y, "none", 0)
            page.mouse("mousePressed", x, y, button, flags)
            page.mouse("mouseReleased", x, y, button)
        else:
            page.key(where[0], shift=kind == "shift")
        time.sleep(0.05)
    time.sleep(0.5)


def step_memory(page, url):
    """The same round again and again: once its pictures, texts and views
    are made, the program's heap, its WebAssembly memory and the page's
    JavaScript heap stay where they are."""
    page.open(url + "?record=0")
    page.read_console()
    for _ in range(3):  # what the rounds show is made once
        play_round(page)
    start = page.memory()
    for _ in range(4):
        play_round(page)
    finish = page.memory()
    log(f"  4 rounds: program heap {start['heap']} -> {finish['heap']} bytes, WebAssembly "
        f"memory {start['memory']} -> {finish['memory']}, JavaScript heap {start['js']} -> "
        f"{finish['js']}")
    errors = page.errors()
    check(not errors, f"the console shows errors: {errors[:5]}")
    check(page.js("return maison.state") == "en cours",
          f"the rounds ended the session: « {page.message()} »")
    check(finish["heap"] <= start["heap"] + 64 * 1024,
          f"the program's heap grew from {start['heap']} to {finish['heap']} bytes")
    check(finish["memory"] == start["memory"],
          f"the WebAssembly memory grew from {start['memory']} to {finish['memory']} bytes")
    check(finish["js"] <= start["js"] + 1024 * 1024,
          f"the page's JavaScript heap grew from {start['js']} to {finish['js']} bytes")


def step_end_and_replay(page, native, work):
    page.click(778, 579)  # « × »
    page.wait("maison.state === 'terminé'", 15, "the session to end after « × »")
    message = page.message()
    check("Session terminée" in message and "Recommencer" in message,
          f"the end of the session says « {message} »")
    page.d.find_element("id", "recording").click()
    recording = page.downloaded("maison-enregistrement.txt")
    trace = page.js("return maison.trace")
    run = work / "replay"
    run.mkdir()
    for name in ("HOME.SP1", "kvr.ini", "kvrbdo.ini", "kvrnu.ini"):
        shutil.copy(native / name, run / name)
    shutil.copy(recording, run / "recording.txt")
    env = dict(os.environ, KVR_BACKEND="headless", KVR_INPUT="recording.txt",
               KVR_TRACE="trace.jsonl")
    env.pop("KVR_RECORD", None)
    result = subprocess.run([str(native / "maison")], cwd=run, env=env, capture_output=True,
                            text=True, timeout=120)
    check(result.returncode == 0,
          f"the native replay of the recording ended with {result.returncode}: {result.stderr}")
    replayed = (run / "trace.jsonl").read_text(encoding="utf-8").splitlines()
    if replayed != trace:
        first = next((i for i, (a, b) in enumerate(zip(replayed, trace)) if a != b),
                     min(len(replayed), len(trace)))
        (work / "page-trace.jsonl").write_text("\n".join(trace) + "\n", encoding="utf-8")
        raise Failed(f"the native replay's trace differs from the page's from line {first + 1} "
                     f"({len(replayed)} and {len(trace)} lines; both in {work})")
    log(f"  the native program replays the recording into the page's {len(trace)} trace lines")


def step_folder(page, site):
    page.open((site / "index.html").as_uri() + "?trace=1")
    errors = page.errors()
    check(not errors, f"opened from the folder, the console shows errors: {errors[:5]}")


def step_codes(page, url):
    page.metrics((1024, 768), 1)
    page.d.get(url + "?code=0")
    page.wait("window.maison && maison.state === 'terminé'", 30,
              "launch code 0 (a single frame) to end the session")
    page.d.get(url + "?code=12ab")
    page.wait("window.maison && maison.state === 'erreur'", 10, "a bad launch code to be refused")
    check("Code de lancement invalide" in page.message(), f"a bad code shows « {page.message()} »")
    # A browser without WebAssembly is told so, in French.
    hidden = page.cdp("Page.addScriptToEvaluateOnNewDocument", source="delete window.WebAssembly;")
    try:
        page.d.get(url)
        page.wait("window.maison && maison.state === 'erreur'", 10,
                  "a browser without WebAssembly to be told")
        check("WebAssembly" in page.message() and "navigateur" in page.message(),
              f"without WebAssembly the page says « {page.message()} »")
    finally:
        page.cdp("Page.removeScriptToEvaluateOnNewDocument", identifier=hidden["identifier"])


def step_settings(page, url):
    """F7's palette, which the window keeps in kvr.ini, is kept by the
    browser for the next visit."""
    read = "return (new TextDecoder().decode(Module.maisonReadFile('/kvr.ini'))" \
           ".match(/^palette\\s*=\\s*(\\w+)/m) || [])[1]"
    page.open(url)
    before = page.js(read)
    check(before in ("standard", "cividis"), f"kvr.ini names no palette ({before!r})")
    after = "cividis" if before == "standard" else "standard"
    page.key(Keys.F7)
    page.wait(read[len("return "):] + f" === '{after}'", 10, "F7 to write the palette into kvr.ini")
    page.d.get("about:blank")
    page.open(url)
    check(page.js(read) == after,
          f"the next visit has the palette {page.js(read)!r}, not the {after!r} F7 chose")


def step_offline(page, server, url):
    page.open(url)
    page.d.set_script_timeout(30)
    ready = page.d.execute_async_script(
        "var done = arguments[arguments.length - 1];"
        "navigator.serviceWorker.ready.then(function() { done(true); }, function() { done(false); });")
    check(ready, "the service worker never became ready")
    server.stop()
    page.open(url)


def main():
    if len(sys.argv) < 3:
        sys.exit(__doc__)
    site, native = Path(sys.argv[1]).resolve(), Path(sys.argv[2]).resolve()
    storm = float(sys.argv[3]) if len(sys.argv) > 3 else 30.0
    seed = int(os.environ.get("MAISON_STORM_SEED", random.randrange(1 << 30)))
    for f in (site / "index.html", site / "maison.wasm", native / "maison"):
        if not f.exists():
            sys.exit(f"browser_test: {f} is missing: build it first")
    work = Path(tempfile.mkdtemp(prefix="maison-browser-"))
    downloads = work / "downloads"
    downloads.mkdir()
    server = Server(site)
    url = server.url
    log(f"serving {site} at {url}; storm seed {seed}")
    page = Page(downloads)
    steps = [
        ("the start screen matches the native picture", lambda: step_picture(page, url, work)),
        ("sharp at a pixel ratio of 2", lambda: step_sharp(page)),
        ("pointer, Tab and Enter, touch", lambda: step_pointer_and_keys(page)),
        ("reference, report and screenshot", lambda: step_report(page)),
        ("storm", lambda: step_storm(page, storm, seed)),
        ("end of session and native replay", lambda: step_end_and_replay(page, native, work)),
        ("memory over repeated rounds", lambda: step_memory(page, url)),
        ("opened from the folder", lambda: step_folder(page, site)),
        ("launch codes, no WebAssembly", lambda: step_codes(page, url)),
        ("settings kept between visits", lambda: step_settings(page, url)),
        ("offline", lambda: step_offline(page, server, url)),
    ]
    started = time.time()
    try:
        for number, (name, run) in enumerate(steps, 1):
            t0 = time.time()
            try:
                run()
                log(f"{number}. {name}: passed ({time.time() - t0:.1f} s)")
            except (Failed, WebDriverException, subprocess.SubprocessError, OSError) as e:
                # Selenium's messages end with the driver's stack: its first line says it.
                reason = str(e).strip().splitlines()[0] if str(e).strip() else type(e).__name__
                failures.append(f"{number}. {name}: {reason}")
                log(f"{number}. {name}: FAILED: {reason}")
    finally:
        page.quit()
        server.stop()
    log(f"{len(steps) - len(failures)} of {len(steps)} steps passed in "
        f"{time.time() - started:.0f} s")
    if failures:
        print("\n".join(failures), file=sys.stderr)
        print(f"browser_test: pictures, traces and downloads kept in {work}", file=sys.stderr)
        sys.exit(1)
    shutil.rmtree(work, ignore_errors=True)


if __name__ == "__main__":
    main()
