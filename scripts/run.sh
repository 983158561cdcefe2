#!/usr/bin/env bash
# Installs what is missing, builds the release preset and starts the
# simulator in its window. On a machine without a display it plays a short
# demonstration headlessly instead and writes pictures of its key screens.
#
#   scripts/run.sh [LAUNCH_CODE]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh
cmake --preset release
cmake --build --preset release

bin="$root/build/release/bin"
if [ -n "${DISPLAY:-}" ] || [ -n "${WAYLAND_DISPLAY:-}" ]; then
  cd "$bin"
  exec ./maison "$@"
fi

# No display: the demonstration. It runs in a folder of its own so that the
# hand-over at the end starts nothing and no setting of bin/ is touched.
demo="$root/build/release/demo"
rm -rf "$demo"
mkdir -p "$demo/run/pictures"
cp "$bin/HOME.SP1" "$demo/run/"
cat >"$demo/run/kvr.ini" <<INI
; Settings of the demonstration written by scripts/run.sh.
[runtime]
backend = headless
[headless]
input = $root/data/demo.script
png_dir = pictures
png_after = HOME, MENUVISU, USE, FONC, REM
png_width = 1200
png_height = 900
INI
echo "No display found: playing data/demo.script headlessly."
(cd "$demo/run" && KVR_BACKEND=headless "$bin/maison" 1000)

# Keep one picture per distinct screen: drop each one equal to the last kept.
pictures="$demo/pictures"
mkdir -p "$pictures"
last=""
for p in "$demo/run/pictures"/*.png; do
  if [ -n "$last" ] && cmp -s "$p" "$last"; then continue; fi
  cp "$p" "$pictures/"
  last=$p
done
count=$(find "$pictures" -name '*.png' | wc -l)
echo "$count pictures of the demonstration are in $pictures"
echo "(start scripts/run.sh from a desktop session to use the window)"
