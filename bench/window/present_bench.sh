#!/usr/bin/env bash
# Runs present_bench in a fresh Xvfb of 2048 x 1200.
#
#   bench/window/present_bench.sh BIN_DIR [benchmark flags]
set -eu
bin_dir=$(cd "$1" && pwd)
shift
command -v Xvfb >/dev/null || { echo "Xvfb is needed"; exit 1; }
xvfb_pid=""
trap '[ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null' EXIT
for n in $(seq 191 240); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 2048x1200x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
  break
done
"$bin_dir/present_bench" "$@"
