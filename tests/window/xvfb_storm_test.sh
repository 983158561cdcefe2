#!/usr/bin/env bash
# A storm of user input on the real window under Xvfb: random clicks on the
# buttons, arrows and menu boxes and anywhere else, drags, held presses,
# right clicks, keys (F12 screenshots and F11 full screen among them) and
# window resizes, from a fixed seed, for a few tens of seconds. Then the
# window is closed as a window manager closes it (or Escape is pressed).
# The run must end by itself with status 0 through the hand-over, its trace
# must end with its "end" line, and nothing may be reported by a sanitizer.
# Screenshots go to a small tmpfs where that can be mounted, so that the
# later ones fail: each F12 must then give either a whole picture or one
# message naming the file, never a half file.
#
#   xvfb_storm_test.sh BIN_DIR [CLOSE_TOOL]
#
# MAISON_STORM_SECONDS (default 30), MAISON_STORM_SEED (default 20261209)
# and MAISON_STORM_END (close or escape; close when CLOSE_TOOL is given)
# choose the storm. Exit 0: passed; 1: failed; 77: skipped.
set -u
bin_dir=$(cd "$1" && pwd)
close_tool=${2:-}
seconds=${MAISON_STORM_SECONDS:-30}
seed=${MAISON_STORM_SEED:-20261209}
ending=${MAISON_STORM_END:-close}
[ -x "$close_tool" ] || ending=escape

for tool in Xvfb xdotool identify; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (Debian packages xvfb, xdotool, imagemagick)"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=""
maison_pid=""
shots_mounted=0
cleanup() {
  [ -n "$maison_pid" ] && kill "$maison_pid" 2>/dev/null && wait "$maison_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  [ "$shots_mounted" = 1 ] && umount "$work/shots" 2>/dev/null
  if [ "${keep:-0}" = 1 ]; then echo "work files kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() {
  echo "FAIL (seed $seed): $*"
  keep=1
  [ -f "$work/run/stderr.txt" ] && { echo "--- maison stderr (last 40 lines)"; tail -n 40 "$work/run/stderr.txt"; }
  exit 1
}

. "$(dirname "$0")/xvfb_display.sh"
start_xvfb 141 190 1280x1024x24

# Screenshots: a 192 KiB tmpfs holds the first few pictures only.
mkdir -p "$work/run" "$work/shots"
if [ "$(id -u)" = 0 ] && mount -t tmpfs -o size=192k tmpfs "$work/shots" 2>/dev/null; then
  shots_mounted=1
fi
cp "$bin_dir/HOME.SP1" "$work/run/"
cat >"$work/run/kvr.ini" <<INI
[runtime]
backend = window
[window]
mode = windowed
width = 800
height = 600
title = maison-storm-test
screenshots = $work/shots
INI
cat >"$work/onglets.exe" <<'SH'
#!/bin/sh
echo "$1" > "$(dirname "$0")/handover.txt"
SH
chmod +x "$work/onglets.exe"
(cd "$work/run" && KVR_TRACE=trace.jsonl exec "$bin_dir/maison" 1000 2>stderr.txt) &
maison_pid=$!
window=$(timeout 20 xdotool search --sync --onlyvisible --name maison-storm-test | head -n 1)
[ -n "$window" ] || fail "no window appeared"
sleep 0.5

# The random choices set r; never in a subshell, where RANDOM would not move on.
RANDOM=$seed
pick() { r=$((RANDOM % $1)); }

# Layout points of the program's controls and modal boxes (centres), the
# quit button left out: the storm must not end the run itself.
targets=(
  "670 579" "751 579" "685 42"
  "231 92" "231 57" "231 21" "341 92" "341 57" "341 21" "451 92" "451 57" "451 21"
  "621 509" "621 449" "621 389" "621 329" "621 269" "621 209"
  "775 509" "775 449" "775 389" "775 329" "775 269" "775 209"
  "82 579" "242 579" "400 579" "500 579"
  "536 465" "587 465" "536 435" "587 435" "536 405" "587 405"
  "536 375" "587 375" "536 345" "587 345" "536 315" "587 315"
)
keys=(a space Return Tab Left Up BackSpace F1 F12 F12 F11)

geometry() {
  eval "$(xdotool getwindowgeometry --shell "$window" 2>/dev/null)" || return 1
  win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
}

# A layout point, fitted with its aspect kept into the window as it is now.
screen_xy() {
  awk -v lx="$1" -v ly="$2" -v x="$win_x" -v y="$win_y" -v w="$win_w" -v h="$win_h" 'BEGIN {
    s = w / 800; if (h / 600 < s) s = h / 600
    ox = (w - s * 800) / 2; oy = (h - s * 600) / 2
    printf "%d %d", x + ox + lx * s, y + oy + (600 - ly) * s }'
}

# Two out of three points aim at a control, near its centre; the others
# fall anywhere in the layout, its letterbox included, but never on quit.
# Sets sx and sy, the screen position.
point() {
  local lx ly
  pick 3
  if [ "$r" != 0 ]; then
    pick ${#targets[@]}
    read -r lx ly <<<"${targets[$r]}"
    pick 9
    lx=$((lx + r - 4))
    pick 7
    ly=$((ly + r - 3))
  else
    pick 880
    lx=$((r - 40))
    pick 680
    ly=$((r - 40))
    if [ "$lx" -gt 762 ] && [ "$ly" -gt 564 ]; then lx=700; fi
  fi
  read -r sx sy <<<"$(screen_xy "$lx" "$ly")"
}

pause() {
  pick 9
  sleep "0.0$((r + 3))"
}

declare -A done_count=()
count() { done_count[$1]=$((${done_count[$1]:-0} + 1)); }
f12=0

end_at=$((SECONDS + seconds))
while [ "$SECONDS" -lt "$end_at" ]; do
  kill -0 "$maison_pid" 2>/dev/null || fail "maison ended in the middle of the storm"
  geometry || fail "the window is gone in the middle of the storm"
  pick 100
  kind=$r
  if [ "$kind" -lt 45 ]; then
    point
    xdotool mousemove "$sx" "$sy" mousedown 1 sleep 0.03 mouseup 1
    count click
  elif [ "$kind" -lt 55 ]; then
    point
    bx=$sx by=$sy
    point
    xdotool mousemove "$bx" "$by" mousedown 1 mousemove $(((bx + sx) / 2)) $(((by + sy) / 2)) \
      sleep 0.05 mousemove "$sx" "$sy" sleep 0.05 mouseup 1
    count drag
  elif [ "$kind" -lt 60 ]; then
    point
    pick 8
    xdotool mousemove "$sx" "$sy" mousedown 1 sleep "0.$((r + 2))" mouseup 1
    count hold
  elif [ "$kind" -lt 72 ]; then
    point
    xdotool mousemove "$sx" "$sy" mousedown 3 sleep 0.03 mouseup 3
    count right_click
  elif [ "$kind" -lt 84 ]; then
    pick ${#keys[@]}
    key=${keys[$r]}
    xdotool key "$key"
    [ "$key" = F12 ] && f12=$((f12 + 1))
    count key
  elif [ "$kind" -lt 92 ]; then
    pick 700
    w=$((320 + r))
    pick 520
    xdotool windowsize "$window" "$w" $((240 + r))
    count resize
  else
    sleep 0.3
    count idle
  fi
  pause
done
summary=""
for k in click drag hold right_click key resize idle; do summary="$summary $k ${done_count[$k]:-0},"; done
echo "storm: $seconds s, seed $seed:$summary F12 $f12"

# Let the last events reach the program, then close.
sleep 1
if [ "$ending" = close ]; then
  "$close_tool" "$window" || fail "the close request could not be sent"
else
  xdotool key Escape
fi
for _ in $(seq 300); do
  kill -0 "$maison_pid" 2>/dev/null || break
  sleep 0.1
done
kill -0 "$maison_pid" 2>/dev/null && fail "maison still runs 30 s after the $ending"
wait "$maison_pid"
status=$?
maison_pid=""
[ "$status" = 0 ] || fail "maison ended with status $status after the $ending"
for _ in $(seq 50); do
  [ -s "$work/handover.txt" ] && break
  sleep 0.1
done
[ "$(cat "$work/handover.txt" 2>/dev/null)" = 1000 ] || fail "no hand-over to ../onglets.exe with 1000"
tail -n 1 "$work/run/trace.jsonl" | grep -q '"event":"end"' || fail "the trace has no end line"
if grep -E 'Sanitizer|runtime error:' "$work/run/stderr.txt" >/dev/null; then
  fail "a sanitizer reported a fault"
fi

# The storm reached the program: panels, the intro choice, the results view.
for action in DECDROIT BANDO MENUVISU; do
  n=$(grep -c "\"action\":\"$action\"" "$work/run/trace.jsonl")
  [ "$n" -gt 0 ] || fail "$action was never played: the storm missed the program"
  echo "$action played $n times"
done

# Every F12 gave a whole picture or one message naming its file; no half file.
written=$(grep -c '^screenshot: ' "$work/run/stderr.txt")
refused=$(grep -c ': cannot write the screenshot: ' "$work/run/stderr.txt")
echo "F12: $f12 pressed, $written pictures written, $refused refused"
[ $((written + refused)) = "$f12" ] || fail "$f12 F12 presses gave $written pictures and $refused messages"
for f in "$work/shots"/*; do
  [ -e "$f" ] || continue
  case $f in
    *.png) identify -regard-warnings "$f" >/dev/null 2>&1 || fail "$f is not a whole picture" ;;
    *) fail "$f was left in the screenshot folder" ;;
  esac
done
grep ': cannot write the screenshot: ' "$work/run/stderr.txt" | while IFS= read -r line; do
  path=${line%%: cannot write the screenshot: *}
  [ ! -e "$path" ] || fail "$path exists although its write was refused"
  case $path in "$work/shots"/maison-*.png) ;; *) fail "the message names $path" ;; esac
done || exit 1
echo "PASS: storm of $seconds s ended by $ending with status 0"
