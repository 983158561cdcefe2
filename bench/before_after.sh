#!/usr/bin/env bash
# Measures two builds in turn in one session, so that whatever else the
# machine is doing weighs on both alike: render_bench of each, ROUNDS times
# in alternation (medians of five repetitions, wall and CPU time), then the
# idle CPU of each under Xvfb (bench/render/idle_cpu.sh, SECONDS per state).
#
#   bench/before_after.sh OLD_BIN_DIR NEW_BIN_DIR [ROUNDS] [SECONDS]
#
# OLD_BIN_DIR is the bin/ of a release build of the commit to compare with,
# e.g. git worktree add ../before COMMIT && cmake --preset release there.
set -eu
old=$(cd "$1" && pwd)
new=$(cd "$2" && pwd)
rounds=${3:-2}
seconds=${4:-10}
here=$(cd "$(dirname "$0")" && pwd)

echo "load at start: $(cut -d' ' -f1-3 /proc/loadavg)"
for round in $(seq "$rounds"); do
  for side in old new; do
    dir=$old
    [ "$side" = new ] && dir=$new
    echo "--- render_bench, $side, round $round"
    "$dir/render_bench" --benchmark_repetitions=5 --benchmark_report_aggregates_only=true \
      2>/dev/null | awk '/_median/ { printf "%-52s %8s %s %8s %s\n", $1, $2, $3, $4, $5 }'
  done
done
for side in old new; do
  dir=$old
  [ "$side" = new ] && dir=$new
  echo "--- idle CPU, $side"
  "$here/render/idle_cpu.sh" "$dir" "$seconds"
done
echo "load at end: $(cut -d' ' -f1-3 /proc/loadavg)"
