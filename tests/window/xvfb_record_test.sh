#!/usr/bin/env bash
# Recording in a real window under Xvfb: some seconds of random clicks
# (fixed seed: the same clicks every time), recorded with KVR_RECORD, then
# replayed headless with the same launch code, give the same exec lines
# (action, polls, result and state) as the window's own trace.
#
#   xvfb_record_test.sh BIN_DIR
#
# Exit 0: passed; 1: failed; 77: skipped (no Xvfb, a tool missing).
set -u
BIN_DIR=$(cd "$1" && pwd)
. "$(dirname "$0")/xvfb_lib.sh"

# Half the clicks go near a control (menu buttons, arrows, results, the
# intro bar and its pages, the results menu, the runtime's own buttons),
# the others anywhere.
targets=(231:92 231:57 231:21 341:92 341:57 341:21 451:92 451:21
  621:509 775:509 621:449 775:449 621:389 775:389 621:329 775:329 621:269 775:269 621:209 775:209
  685:42 670:579 82:579 242:579 400:579 546:579 536:465 587:435 536:405 587:375 536:345 587:315
  660:286 706:165 706:135)
RANDOM=7
start_run KVR_RECORD=recording.txt
click_pause=0.1
for _ in $(seq 70); do
  if [ $((RANDOM % 2)) = 0 ]; then
    target=${targets[$((RANDOM % ${#targets[@]}))]}
    x=$((${target%:*} + RANDOM % 9 - 4))
    y=$((${target#*:} + RANDOM % 9 - 4))
  else
    x=$((RANDOM % 800))
    y=$((RANDOM % 600))
  fi
  # The quit button would end the session early.
  if [ "$x" -gt 760 ] && [ "$y" -gt 562 ]; then continue; fi
  # One click in five is a right click: it ends the results view and shows
  # the setting from the intro bar.
  button=1
  [ $((RANDOM % 5)) = 0 ] && button=3
  click "$x" "$y" "$button"
done
sleep 0.3
xdotool key Escape
wait_end "recorded run"
recording=$work/run/recording.txt
[ -s "$recording" ] || fail "no recording was written"
head -n 1 "$recording" | grep -q '^# maison pointer recording' || fail "the recording has no header"
grep -q '^# command line: maison 1000' "$recording" || fail "the recording does not name the launch"

# The replay: same scene and settings, headless, the recording as input.
mkdir -p "$work/replay"
cp "$work/run/HOME.SP1" "$work/run/kvr.ini" "$work/replay/"
(cd "$work/replay" && KVR_BACKEND=headless KVR_INPUT="$recording" KVR_TRACE=trace.jsonl \
  "$BIN_DIR/maison" 1000 >stdout.txt 2>stderr.txt) || fail "the replay ended with status $?"
grep '"event":"exec"' "$work/run/trace.jsonl" >"$work/window-exec.jsonl"
grep '"event":"exec"' "$work/replay/trace.jsonl" >"$work/replay-exec.jsonl"
lines=$(wc -l <"$work/window-exec.jsonl")
[ "$lines" -gt 20 ] || fail "the window run played only $lines actions"
if ! diff -q "$work/window-exec.jsonl" "$work/replay-exec.jsonl" >/dev/null; then
  diff "$work/window-exec.jsonl" "$work/replay-exec.jsonl" | head -n 20
  fail "the replay's exec lines differ from the window run's"
fi
actions=$(grep -o '"action":"[A-Z]*"' "$work/window-exec.jsonl" | sort | uniq -c | tr -s ' \n' ' ')
echo "replayed $lines exec lines exactly ($actions)"
echo "PASS"
