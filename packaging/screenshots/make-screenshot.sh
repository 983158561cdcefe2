#!/usr/bin/env bash
# Draws main-window.png, the screenshot that the AppStream metadata points
# to, with the headless runtime of a build: the state reached by
# main-window.script, at 1200 x 900. Run it when the scene's look changes,
# look at the picture, commit it and publish it at MAISON_SCREENSHOT_URL.
#
#   packaging/screenshots/make-screenshot.sh [BIN_DIR]   default build/release/bin
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bin_dir=$(cd "${1:-$here/../../build/release/bin}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$bin_dir/HOME.SP1" "$work/"
cat >"$work/kvr.ini" <<INI
[runtime]
backend = headless
[headless]
input = $here/main-window.script
png_dir = png
png_after = HOME
png_width = 1200
png_height = 900
INI
mkdir "$work/png"
(cd "$work" && "$bin_dir/maison" 1000 >/dev/null)
last=$(find "$work/png" -name '*.png' | sort | tail -n 1)
cp "$last" "$here/main-window.png"
echo "wrote $here/main-window.png"
