#!/usr/bin/env bash
# Instructions per frame drawn by SceneRenderer::update, counted by
# Valgrind's callgrind, which does not depend on the machine's load: one
# render_bench case run twice with a fixed number of frames, the first
# (whole) frame and the setting up cancelled out by the difference.
#
#   bench/render/frame_ir.sh BIN_DIR CASE...    (e.g. BM_Frame_Start_800x600)
set -eu
bin_dir=$(cd "$1" && pwd)
shift
command -v valgrind >/dev/null || { echo "valgrind is needed"; exit 1; }
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
count() { # count CASE FRAMES: instructions inside update() over FRAMES frames
  KVR_BENCH_ITERATIONS=$2 valgrind --tool=callgrind --callgrind-out-file="$work/out" \
    --toggle-collect='kvr::SceneRenderer::update*' "$bin_dir/render_bench" \
    --benchmark_filter="^$1(/|\$)" >/dev/null 2>&1
  awk '/^summary:/ { print $2 }' "$work/out"
}
for c in "$@"; do
  few=$(count "$c" 11)
  many=$(count "$c" 51)
  awk -v c="$c" -v a="$few" -v b="$many" \
    'BEGIN { printf "| %s | %.2f million |\n", c, (b - a) / 40 / 1e6 }'
done
