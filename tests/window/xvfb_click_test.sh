#!/usr/bin/env bash
# A real window under Xvfb: clicks reach the program at their screen
# positions, the window shows the new label, and both the quit button and
# Escape (inside the results view) end the run through the hand-over; a
# click after a long idle (the polls sleep) still reaches the program and
# the screen, and a window resized in quick steps ends drawn at its last
# size. While the window waits for input, the trace on disk already holds
# the frame on screen (what tail -f shows): a held page, a click's panel.
#
#   xvfb_click_test.sh BIN_DIR
#
# Exit 0: passed; 1: failed; 77: skipped (no Xvfb or it cannot start).
set -u
bin_dir=$(cd "$1" && pwd)

for tool in Xvfb xdotool import compare convert; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (Debian packages xvfb, xdotool, imagemagick)"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=""
maison_pid=""
cleanup() {
  [ -n "$maison_pid" ] && kill "$maison_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  if [ "${keep:-0}" = 1 ]; then echo "work files kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  keep=1
  [ -f "$work/run/stderr.txt" ] && { echo "--- maison stderr"; cat "$work/run/stderr.txt"; }
  exit 1
}

. "$(dirname "$0")/xvfb_display.sh"
start_xvfb 91 140 1024x768x24

# One run: the scene and a windowed 800 x 600 setting in run/, and a
# stand-in menu program in the parent folder that records its argument.
start_run() {
  rm -rf "$work/run" "$work/handover.txt"
  mkdir -p "$work/run"
  cp "$bin_dir/HOME.SP1" "$work/run/"
  cat >"$work/run/kvr.ini" <<'INI'
[runtime]
backend = window
[window]
mode = windowed
width = 800
height = 600
title = maison-window-test
screenshots = .
INI
  cat >"$work/onglets.exe" <<'SH'
#!/bin/sh
echo "$1" > "$(dirname "$0")/handover.txt"
SH
  chmod +x "$work/onglets.exe"
  (cd "$work/run" && KVR_TRACE=trace.jsonl exec "$bin_dir/maison" 1000 2>stderr.txt) &
  maison_pid=$!
  window=$(timeout 10 xdotool search --sync --onlyvisible --name maison-window-test | head -n 1)
  [ -n "$window" ] || fail "no window appeared"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
  sleep 0.5
}

# Screen position of a layout point (origin bottom-left, 800 x 600 fitted
# into the window with its aspect kept).
screen_xy() {
  awk -v lx="$1" -v ly="$2" -v x="$win_x" -v y="$win_y" -v w="$win_w" -v h="$win_h" 'BEGIN {
    s = w / 800; if (h / 600 < s) s = h / 600
    ox = (w - s * 800) / 2; oy = (h - s * 600) / 2
    printf "%d %d", x + ox + lx * s, y + oy + (600 - ly) * s }'
}

click() {
  read -r sx sy <<<"$(screen_xy "$1" "$2")"
  xdotool mousemove "$sx" "$sy" click 1
  sleep 0.4
}

# Crop of a layout rectangle out of a screenshot.
crop() {
  read -r cx1 cy1 <<<"$(screen_xy "$2" "$5")"
  read -r cx2 cy2 <<<"$(screen_xy "$4" "$3")"
  convert "$1" -crop "$((cx2 - cx1))x$((cy2 - cy1))+$cx1+$cy1" +repage "$6"
}

wait_end() {
  for _ in $(seq 100); do
    kill -0 "$maison_pid" 2>/dev/null || break
    sleep 0.1
  done
  if kill -0 "$maison_pid" 2>/dev/null; then fail "$1: maison still runs 10 s later"; fi
  wait "$maison_pid"
  status=$?
  maison_pid=""
  [ "$status" = 0 ] || fail "$1: maison ended with status $status"
  # The menu program is started detached: give it a moment to write.
  for _ in $(seq 50); do
    [ -s "$work/handover.txt" ] && break
    sleep 0.1
  done
  [ -s "$work/handover.txt" ] || fail "$1: no hand-over to ../onglets.exe"
  tail -n 1 "$work/run/trace.jsonl" | grep -q '"event":"end"' || fail "$1: trace has no end line"
}

# followed PATTERN WHAT: while maison still runs and waits for input, the
# trace file on disk ends with a whole line and holds PATTERN.
followed() {
  kill -0 "$maison_pid" 2>/dev/null || fail "$2: maison ended"
  [ "$(tail -c 1 "$work/run/trace.jsonl" | od -An -tx1 | tr -d ' ')" = 0a ] ||
    fail "$2: the trace on disk is empty or ends inside a line ($(wc -c <"$work/run/trace.jsonl") bytes)"
  grep -q "$1" "$work/run/trace.jsonl" || fail "$2: not yet in the trace on disk"
}

# --- Walls, row 3 plus, quit -------------------------------------------------
start_run
click 231 92 # the Walls menu button
import -window root "$work/walls.png"
click 775 389 # the plus arrow of stepper row 3
import -window root "$work/plus.png"
crop "$work/walls.png" 637 378 760 400 "$work/a3-before.png"
crop "$work/plus.png" 637 378 760 400 "$work/a3-after.png"
changed=$(compare -metric AE -fuzz 5% "$work/a3-before.png" "$work/a3-after.png" null: 2>&1)
changed=${changed%% *}
[ "${changed%.*}" -gt 50 ] 2>/dev/null || fail "the A3 field did not change on screen ($changed pixels)"
# The rest of the panel did not move: the row-1 field is the same.
crop "$work/walls.png" 637 498 760 520 "$work/a1-before.png"
crop "$work/plus.png" 637 498 760 520 "$work/a1-after.png"
same=$(compare -metric AE -fuzz 5% "$work/a1-before.png" "$work/a1-after.png" null: 2>&1)
[ "${same%% *}" = 0 ] || fail "the A1 field changed on screen ($same pixels)"
click 778 579 # the quit button
wait_end "quit button"
grep -q '"HOME.A3":"laine de verre"' "$work/run/trace.jsonl" || fail "A3 never became laine de verre"
grep -q '"action":"DECDROIT"' "$work/run/trace.jsonl" || fail "the Walls panel never opened"
echo "quit button: hand-over with code $(cat "$work/handover.txt")"

# --- Escape inside the results view ------------------------------------------
start_run
read -r sx sy <<<"$(screen_xy 685 42)"
xdotool mousemove "$sx" "$sy" mousedown 1
sleep 0.4
xdotool mouseup 1
sleep 0.3
xdotool key Escape
wait_end "Escape in the results view"
grep -q '"action":"MENUVISU"' "$work/run/trace.jsonl" || fail "the results view never opened"
echo "Escape in the results view: hand-over with code $(cat "$work/handover.txt")"
# --- An intro page stays until a click, which the runtime keeps -------------
start_run
import -window root "$work/main.png"
click 670 579 # the intro button
click 100 580 # « Utilisation »
sleep 0.6
import -window root "$work/page.png"
crop "$work/main.png" 30 300 390 530 "$work/page-before.png"
crop "$work/page.png" 30 300 390 530 "$work/page-after.png"
shown=$(compare -metric AE -fuzz 5% "$work/page-before.png" "$work/page-after.png" null: 2>&1)
[ "${shown%% *}" -gt 5000 ] 2>/dev/null || fail "the Utilisation page is not on screen ($shown)"
followed '"action":"USE"' "the held page"
sleep 0.5
import -window root "$work/page-later.png"
crop "$work/page-later.png" 30 300 390 530 "$work/page-later-crop.png"
kept=$(compare -metric AE -fuzz 5% "$work/page-after.png" "$work/page-later-crop.png" null: 2>&1)
[ "${kept%% *}" = 0 ] || fail "the page did not stay on screen ($kept)"
click 231 92 # dismisses the page: this click must not open the Walls panel
sleep 0.5
xdotool key Escape
wait_end "page then Escape"
grep -q '"action":"USE"' "$work/run/trace.jsonl" || fail "USE was never played"
after_use=$(sed -n '/"action":"USE"/,$p' "$work/run/trace.jsonl")
grep -q '"action":"DECDROIT"' <<<"$after_use" || fail "no DECDROIT after the page"
if grep -q '"HOMBASE.TALMUR":\[1' <<<"$after_use"; then
  fail "the click that closed the page reached the program"
fi
echo "intro page held until a click, click kept by the runtime"

# --- A click after a long idle; a resize in quick steps -----------------------
# The colour of a pixel of the window, as "r g b".
pixel() {
  convert "$1" -format '%[fx:int(255*p{'"$2"','"$3"'}.r)] %[fx:int(255*p{'"$2"','"$3"'}.g)] %[fx:int(255*p{'"$2"','"$3"'}.b)]' info:
}
near() { # near "r g b" R G B: within 3 levels on every channel
  read -r pr pg pb <<<"$1"
  [ $((pr - $2)) -le 3 ] && [ $(($2 - pr)) -le 3 ] && [ $((pg - $3)) -le 3 ] &&
    [ $(($3 - pg)) -le 3 ] && [ $((pb - $4)) -le 3 ] && [ $(($4 - pb)) -le 3 ]
}
start_run
import -window root "$work/idle-before.png"
sleep 3 # nothing happens: the polls sleep until an event
click 231 92 # the Walls menu button
sleep 0.3
import -window root "$work/idle-after.png"
crop "$work/idle-before.png" 530 200 790 550 "$work/panel-before.png"
crop "$work/idle-after.png" 530 200 790 550 "$work/panel-after.png"
opened=$(compare -metric AE -fuzz 5% "$work/panel-before.png" "$work/panel-after.png" null: 2>&1)
[ "${opened%% *}" -gt 2000 ] 2>/dev/null || fail "a click after an idle did not open the panel on screen ($opened)"
followed '"action":"DECDROIT"' "the click's panel"
xdotool windowsize "$window" 1000 700
sleep 0.05
xdotool windowsize "$window" 640 480
sleep 0.05
xdotool windowsize "$window" 900 500
sleep 0.8
eval "$(xdotool getwindowgeometry --shell "$window")"
[ "$WIDTH" = 900 ] && [ "$HEIGHT" = 500 ] || fail "the window was not resized (${WIDTH}x$HEIGHT)"
import -window "$window" "$work/resized.png"
# At 900 x 500 the 4:3 layout leaves a bar of about 117 pixels on each
# side, drawn in the letterbox colour; at the sizes before there was none.
for x in 40 860; do
  seen=$(pixel "$work/resized.png" "$x" 250)
  near "$seen" 26 28 33 || fail "the last size is not drawn: pixel ($x, 250) is $seen"
done
seen=$(pixel "$work/resized.png" 450 30)
near "$seen" 26 28 33 && fail "the layout is missing at the last size: pixel (450, 30) is $seen"
xdotool key Escape
wait_end "resized, then Escape"
grep -q '"action":"DECDROIT"' "$work/run/trace.jsonl" || fail "the click after an idle never reached the program"
echo "a click after an idle reached the program; the last size was drawn"
echo "PASS"
