#!/bin/sh
# Builds the libFuzzer targets (fuzz preset, clang) and runs each one for a
# bounded time, starting from its committed seed corpus. Fails on the first
# crash, leak, timeout or out-of-memory report.
#
#   scripts/fuzz.sh [SECONDS]     default 20 seconds per target
#
# New inputs go to build/fuzz/corpus/<target>/ (the seeds under fuzz/corpus/
# are never written); a failing input is kept in build/fuzz/artifacts/.
set -eu
seconds=${1:-20}
case $seconds in
  '' | *[!0-9]*) echo "usage: $0 [SECONDS]" >&2; exit 2 ;;
esac
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
targets="fuzz_scene fuzz_settings fuzz_pointer_script"

cmake --preset fuzz >/dev/null
# shellcheck disable=SC2086
cmake --build --preset fuzz --target $targets

bin=build/fuzz/bin
status=0
for target in $targets; do
  seeds=fuzz/corpus/${target#fuzz_}
  work=build/fuzz/corpus/${target#fuzz_}
  artifacts=build/fuzz/artifacts/$target/
  mkdir -p "$work" "$artifacts"
  echo "== $target: $seconds s from $seeds"
  if ! "$bin/$target" -max_total_time="$seconds" -timeout=5 -rss_limit_mb=2048 \
      -artifact_prefix="$artifacts" -print_final_stats=1 "$work" "$seeds" \
      >"build/fuzz/$target.log" 2>&1; then
    echo "FAILED: $target (log: build/fuzz/$target.log, input in $artifacts)" >&2
    tail -n 30 "build/fuzz/$target.log" >&2
    status=1
  else
    grep -E '^stat::number_of_executed_units|^Done' "build/fuzz/$target.log" || true
  fi
done
exit $status
