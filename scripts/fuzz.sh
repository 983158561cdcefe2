#!/bin/sh
# Builds the libFuzzer targets (fuzz preset, clang) and fuzzes each one.
#
#   scripts/fuzz.sh [SECONDS]         short mode (the test command): SECONDS
#                                     per target, default 20; fails on the
#                                     first crash, leak, timeout or
#                                     out-of-memory report
#   scripts/fuzz.sh --long [MINUTES]  long mode: MINUTES per target, default
#                                     10; goes on after a fault, keeps every
#                                     faulty input in fuzz/regressions/ and
#                                     merges what it found into fuzz/corpus/
#   scripts/fuzz.sh --merge           re-minimises fuzz/corpus/ only
#
# FUZZ_TARGETS (default: all) names the targets to run, e.g. "frame scene".
#
# Every run starts from the kept corpus fuzz/corpus/NAME/ and the inputs
# that once found a fault, fuzz/regressions/NAME/ (the ordinary tests replay
# both). The short mode never writes either: its new inputs go to
# build/fuzz/corpus/NAME/ and a faulty input to build/fuzz/artifacts/NAME/.
# The long mode copies each faulty input into fuzz/regressions/NAME/ and
# replaces fuzz/corpus/NAME/ with the minimised (-merge=1) union of the old
# corpus and its finds; commit both.
set -eu
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

mode=short
amount=20
case ${1:-} in
  --long) mode=long; amount=${2:-10} ;;
  --merge) mode=merge ;;
  '') ;;
  *) amount=$1 ;;
esac
case $amount in
  '' | *[!0-9]*) echo "usage: $0 [SECONDS] | --long [MINUTES] | --merge" >&2; exit 2 ;;
esac
names=${FUZZ_TARGETS:-"scene settings pointer_script frame"}
targets=""
for name in $names; do targets="$targets fuzz_$name"; done

cmake --preset fuzz >/dev/null
# shellcheck disable=SC2086
cmake --build --preset fuzz --target $targets

bin=build/fuzz/bin
options="-timeout=5 -rss_limit_mb=2048 -print_final_stats=1"

# Replaces fuzz/corpus/NAME with the smallest set of inputs that keeps the
# coverage of the old corpus and of the folders given after it.
merge() {
  name=$1
  shift
  kept=fuzz/corpus/$name
  fresh=build/fuzz/merged/$name
  rm -rf "$fresh"
  mkdir -p "$fresh" "$kept"
  # shellcheck disable=SC2086
  "$bin/fuzz_$name" -merge=1 $options "$fresh" "$kept" "$@" >"build/fuzz/fuzz_$name-merge.log" 2>&1 || {
    echo "FAILED: merging the corpus of fuzz_$name (log: build/fuzz/fuzz_$name-merge.log)" >&2
    return 1
  }
  # libFuzzer names what it keeps by its SHA-1. Hand-written seeds (any
  # other name) stay, under their own names, whatever they add.
  for seed in "$kept"/*; do
    [ -f "$seed" ] || continue
    base=${seed##*/}
    if printf '%s' "$base" | grep -Eq '^[0-9a-f]{40}$'; then continue; fi
    rm -f "$fresh/$(sha1sum "$seed" | cut -d ' ' -f 1)"
    cp "$seed" "$fresh/$base"
  done
  rm -rf "$kept"
  mv "$fresh" "$kept"
  echo "fuzz/corpus/$name: $(find "$kept" -type f | wc -l) inputs after merging"
}

status=0
for name in $names; do
  target=fuzz_$name
  seeds=fuzz/corpus/$name
  regressions=fuzz/regressions/$name
  work=build/fuzz/corpus/$name
  artifacts=build/fuzz/artifacts/$name/
  log=build/fuzz/$target.log
  mkdir -p "$work" "$artifacts" "$seeds"
  dirs="$seeds"
  [ -d "$regressions" ] && dirs="$dirs $regressions"

  case $mode in
    merge)
      merge "$name" || status=1
      continue
      ;;
    short)
      echo "== $target: $amount s from $dirs"
      # shellcheck disable=SC2086
      if ! "$bin/$target" -max_total_time="$amount" $options -artifact_prefix="$artifacts" \
          "$work" $dirs >"$log" 2>&1; then
        echo "FAILED: $target (log: $log, input in $artifacts)" >&2
        tail -n 30 "$log" >&2
        status=1
      else
        grep -E '^stat::number_of_executed_units|^Done' "$log" || true
      fi
      ;;
    long)
      echo "== $target: $amount min from $dirs"
      rm -rf "$artifacts" "$work"
      mkdir -p "$artifacts" "$work"
      # One worker process at a time that goes on after a fault, so that
      # one run can find several; each faulty input lands in $artifacts.
      # shellcheck disable=SC2086
      "$bin/$target" -fork=1 -ignore_crashes=1 -ignore_timeouts=1 -ignore_ooms=1 \
        -max_total_time=$((amount * 60)) $options -artifact_prefix="$artifacts" \
        "$work" $dirs >"$log" 2>&1 || true
      total=$(grep -Eo '^#[0-9]+' "$log" | tail -n 1 | tr -d '#')
      speed=$(grep -Eo 'exec/s [0-9]+' "$log" | tail -n 1)
      echo "$target: ${total:-0} inputs tried in $amount min (last ${speed:-exec/s ?})"
      found=$(find "$artifacts" -type f | wc -l)
      if [ "$found" -gt 0 ]; then
        mkdir -p "$regressions"
        cp "$artifacts"* "$regressions"/
        echo "FAULT: $target: $found faulty inputs kept in $regressions (log: $log)" >&2
        grep -E '^==[0-9]+==ERROR|^SUMMARY|^frame [0-9]+:' "$log" | sort | uniq -c | head -n 20 >&2
        status=1
      fi
      merge "$name" "$work" || status=1
      ;;
  esac
done
exit $status
