#!/usr/bin/env python3
"""Lays out the page's folder around maison.js and maison.wasm.

    stage_site.py SITE_DIR WEB_DIR ICON_SVG

SITE_DIR already holds maison.js and maison.wasm (the link writes them
there). Adds index.html, page.js (with the size of maison.wasm, for the
loading bar), page.css, the service worker sw.js (its version: a digest of
every file it keeps, so that a new build replaces the kept ones), the
manifest, the icon (SVG, and PNG at 192 and 512 pixels with rsvg-convert),
and maison-wasm.js: the WebAssembly as a script, for index.html opened
from a folder (file://), where a page cannot fetch a file.
"""
import base64
import hashlib
import subprocess
import sys
from pathlib import Path

COPIED = ("index.html", "page.css", "manifest.webmanifest")


def write_if_changed(path, data):
    if not path.exists() or path.read_bytes() != data:
        path.write_bytes(data)


def main():
    if len(sys.argv) != 4:
        sys.exit(__doc__)
    site, web, icon = Path(sys.argv[1]), Path(sys.argv[2]), Path(sys.argv[3])
    wasm = (site / "maison.wasm").read_bytes()
    for name in COPIED:
        write_if_changed(site / name, (web / name).read_bytes())
    page = (web / "page.js").read_text(encoding="utf-8")
    write_if_changed(site / "page.js", page.replace("@MAISON_WASM_SIZE@", str(len(wasm))).encode())
    write_if_changed(site / "icon.svg", icon.read_bytes())
    for size in (192, 512):
        png = site / f"icon-{size}.png"
        if not png.exists() or png.stat().st_mtime < icon.stat().st_mtime:
            subprocess.run(["rsvg-convert", "-w", str(size), "-h", str(size), "-o", str(png),
                            str(icon)], check=True)
    write_if_changed(site / "maison-wasm.js",
                     b"window.maisonWasm = '" + base64.b64encode(wasm) + b"';\n")
    digest = hashlib.sha256()
    for name in ("maison.js", "maison.wasm", "page.js", "icon-192.png", "icon-512.png") + COPIED:
        digest.update((site / name).read_bytes())
    worker = (web / "sw.js").read_text(encoding="utf-8")
    write_if_changed(site / "sw.js",
                     worker.replace("@MAISON_SITE_VERSION@", digest.hexdigest()[:16]).encode())
    print(f"stage_site: {site} ready ({len(wasm)} bytes of WebAssembly)")


if __name__ == "__main__":
    main()
