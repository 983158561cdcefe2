#!/usr/bin/env bash
# With the window backend chosen but no display at all, the run must not go
# on behind an invisible window: the runtime says so, falls back to the
# headless backend and the program ends through its hand-over.
#
#   no_display_test.sh BIN_DIR
set -u
bin_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/run"
cp "$bin_dir/HOME.SP1" "$work/run/"
printf '[runtime]\nbackend = window\n' >"$work/run/kvr.ini"
printf '#!/bin/sh\necho "$1" > received.txt\n' >"$work/onglets.exe"
chmod +x "$work/onglets.exe"

cd "$work/run"
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER -u KVR_BACKEND \
  timeout 30 "$bin_dir/maison" 1234 >stdout.txt 2>stderr.txt
status=$?
if [ "$status" -ne 0 ]; then
  echo "FAIL: maison ended with status $status (124: still running after 30 s)"
  cat stderr.txt
  exit 1
fi
if ! grep -q "no display" stderr.txt; then
  echo "FAIL: no message about the missing display"
  cat stderr.txt
  exit 1
fi
for _ in $(seq 1 50); do
  [ -s "$work/received.txt" ] && break
  sleep 0.1
done
if [ "$(cat "$work/received.txt" 2>/dev/null)" != "1234" ]; then
  echo "FAIL: the hand-over did not start ../onglets.exe with 1234"
  exit 1
fi
echo "PASS: no display: message, headless fallback, hand-over"
