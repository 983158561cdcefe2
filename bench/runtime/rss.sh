#!/bin/sh
# Runs the real maison binary headless on idle scripts of 1,000,000 and
# 10,000,000 frames with the trace on (changes) and prints wall time, frames
# per second and the peak resident memory of each run. Memory must not grow
# with the length of the run.
#
#   bench/runtime/rss.sh [BIN_DIR]     default build/release/bin
set -eu
root=$(cd "$(dirname "$0")/../.." && pwd)
bin=$(cd "${1:-$root/build/release/bin}" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/app"
scene=$bin/HOME.SP1
[ -f "$scene" ] || scene=$root/tests/e2e/declarations.sp1
cp "$scene" "$work/app/HOME.SP1"
for frames in 1000000 10000000; do
  echo "400 300 0 *$frames" >"$work/app/idle.txt"
  for trace in off changes; do
    if [ "$trace" = off ]; then unset KVR_TRACE || true; else export KVR_TRACE=trace.jsonl; fi
    rm -f "$work/app/trace.jsonl"
    out=$(cd "$work/app" && KVR_BACKEND=headless KVR_INPUT=idle.txt \
      /usr/bin/time -f '%e %M' "$bin/maison" 1234 2>&1 >/dev/null | tail -n 1)
    seconds=${out% *}
    rss=${out#* }
    size=$( [ -f "$work/app/trace.jsonl" ] && du -m "$work/app/trace.jsonl" | cut -f1 || echo 0)
    awk -v f="$frames" -v s="$seconds" -v r="$rss" -v t="$trace" -v m="$size" 'BEGIN {
      printf "frames %9d  trace %-7s  %6.2f s  %9.0f frames/s  max RSS %6d KiB  trace %5d MiB\n",
             f, t, s, (s > 0 ? f / s : 0), r, m }'
  done
done
