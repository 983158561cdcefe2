#!/usr/bin/env bash
# The WebAssembly build under Node.js against the native build:
#   tests/web/node_test.sh NATIVE_BUILD WEB_NODE_BUILD [FRAMES]
# 1. every end-to-end test of the native build (tests/e2e: every scenario of
#    tests/scenarios with its expected trace, the configuration copies, the
#    hand-over, the exit statuses) run again with the web program;
# 2. seeded random sessions of the frame property test, FRAMES frames in all
#    (default 3000), played by both programs: their traces, exit statuses,
#    standard error and hand-overs must be byte for byte the same;
# 3. pictures: the web program draws two screens of the scene into PNG files
#    that match the native program's within the image tests' tolerance.
set -euo pipefail
native=$(cd "${1:?usage: node_test.sh NATIVE_BUILD WEB_NODE_BUILD [FRAMES]}" && pwd)
web=$(cd "${2:?usage: node_test.sh NATIVE_BUILD WEB_NODE_BUILD [FRAMES]}" && pwd)
frames_wanted=${3:-3000}
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
data=$here/../../data

for f in "$native/bin/maison" "$native/bin/maison_e2e_tests" "$native/tools/web_session_scripts" \
         "$web/maison" "$web/maison.js"; do
  [ -x "$f" ] || [ -f "$f" ] || { echo "node_test: $f is missing: build it first" >&2; exit 2; }
done

echo "node_test: 1. the end-to-end tests with $web/maison"
MAISON_E2E_PROGRAM=$web/maison "$native/bin/maison_e2e_tests" --gtest_brief=1

echo "node_test: 2. seeded sessions, $frames_wanted frames, native and web traces compared"
work=$(mktemp -d "${TMPDIR:-/tmp}/maison-web-sessions.XXXXXX")
trap 'rm -rf "$work"' EXIT

# run_one PROGRAM SEED_DIR OUT: plays one session in OUT/app, beside an
# onglets.exe that records the hand-over, as the end-to-end tests lay it out.
run_one() {
  local program=$1 seed_dir=$2 out=$3 status
  mkdir -p "$out/app"
  cp "$data/HOME.SP1" "$data/kvr.ini" "$data/kvrbdo.ini" "$data/kvrnu.ini" "$out/app/"
  cp "$seed_dir/script.txt" "$out/app/"
  # shellcheck disable=SC2016  # the stand-in's own $1
  printf '#!/bin/sh\necho "$1" > handover.tmp && mv handover.tmp handover.txt\n' >"$out/onglets.exe"
  chmod +x "$out/onglets.exe"
  set +e
  (cd "$out/app" && KVR_BACKEND=headless KVR_INPUT=script.txt KVR_TRACE=trace.jsonl \
    KVR_TRACE_STATES=$(cat "$seed_dir/trace_states") "$program" "$(cat "$seed_dir/code")" \
    >stdout.txt 2>stderr.txt)
  status=$?
  set -e
  echo "$status" >"$out/status"
  # The hand-over is detached: give it a moment.
  if [ "$status" = 0 ]; then
    for _ in $(seq 50); do [ -f "$out/handover.txt" ] && break; sleep 0.02; done
  fi
}

frames=0 sessions=0 failed=0 seed=0
batch=50
while [ "$frames" -lt "$frames_wanted" ]; do
  "$native/tools/web_session_scripts" $((seed + 1)) $((seed + batch)) "$work/scripts"
  for ((s = seed + 1; s <= seed + batch && frames < frames_wanted; s++)); do
    dir=$work/scripts/seed-$s
    run_one "$native/bin/maison" "$dir" "$work/native-$s"
    run_one "$web/maison" "$dir" "$work/web-$s"
    for f in status app/trace.jsonl app/stderr.txt app/stdout.txt handover.txt; do
      if ! cmp -s "$work/native-$s/$f" "$work/web-$s/$f"; then
        echo "node_test: seed $s: $f differs (launch code $(cat "$dir/code")):" >&2
        diff <(head -c 100000 "$work/native-$s/$f" 2>&1) <(head -c 100000 "$work/web-$s/$f" 2>&1) |
          head -8 >&2 || true
        failed=$((failed + 1))
        mkdir -p "${TMPDIR:-/tmp}/maison-web-failed"
        cp -r "$dir" "$work/native-$s" "$work/web-$s" "${TMPDIR:-/tmp}/maison-web-failed/" || true
      fi
    done
    # A frame calls KvExec("HOME") twice.
    n=$(grep -c '"event":"exec","action":"HOME"' "$work/native-$s/app/trace.jsonl" || true)
    frames=$((frames + n / 2))
    sessions=$((sessions + 1))
    rm -rf "$work/native-$s" "$work/web-$s"
  done
  seed=$((seed + batch))
done
echo "node_test: $sessions sessions, $frames frames, $failed differences"
[ "$failed" = 0 ]

echo "node_test: 3. pictures drawn by the web program and by the native one"
# draw PROGRAM DIR: the start screen and the Walls panel, 640 x 480.
draw() {
  mkdir -p "$2/app/png"
  cp "$data/HOME.SP1" "$2/app/"
  printf '230 92 1\n230 92 0\n0 0 0 *2\n' >"$2/app/script.txt"
  cat >"$2/app/kvr.ini" <<INI
[runtime]
backend = headless
[headless]
input = script.txt
png_dir = png
png_after = INHOME, DECDROIT
png_width = 640
png_height = 480
INI
  (cd "$2/app" && "$1" 1234 >/dev/null 2>stderr.txt) ||
    { echo "node_test: drawing with $1 failed:" >&2; cat "$2/app/stderr.txt" >&2; exit 1; }
}
draw "$web/maison" "$work/web-pictures"
draw "$native/bin/maison" "$work/native-pictures"
# Both draw the text from the same DejaVu files through FreeType: the pictures
# match as the image tests' references do (pixels off by more than 5 %).
shown=0
for png in "$work"/native-pictures/app/png/*.png; do
  [ -f "$png" ] || continue
  name=$(basename "$png")
  web_png=$work/web-pictures/app/png/$name
  [ -f "$web_png" ] || { echo "node_test: the web program drew no $name" >&2; exit 1; }
  differing=$(compare -metric AE -fuzz 5% "$web_png" "$png" null: 2>&1) || true
  differing=${differing%% *}
  echo "node_test:   $name: $differing pixels differ from the native picture"
  if ! [ "${differing%.*}" -le "${IMAGE_TOLERANCE:-60}" ] 2>/dev/null; then
    mkdir -p "${TMPDIR:-/tmp}/maison-web-failed"
    cp "$web_png" "${TMPDIR:-/tmp}/maison-web-failed/web-$name"
    cp "$png" "${TMPDIR:-/tmp}/maison-web-failed/native-$name"
    echo "node_test: $name differs (both in ${TMPDIR:-/tmp}/maison-web-failed)" >&2
    exit 1
  fi
  shown=$((shown + 1))
done
[ "$shown" = 2 ] || { echo "node_test: $shown pictures instead of 2" >&2; exit 1; }
