# Shared by the Xvfb tests: a private X display, one run of maison in a
# window there, layout-to-screen positions, and the checks of its end.
# Source it with BIN_DIR (and EXTRA_TOOLS, more tools it needs) set; it
# defines start_run, screen_xy, click, crop, keys, wait_end and fail, and
# exports DISPLAY. Exits 77 (skipped) where Xvfb or a tool is missing.

for tool in Xvfb xdotool import compare convert ${EXTRA_TOOLS:-}; do
  if ! command -v "$tool" >/dev/null 2>&1; then
    echo "SKIP: $tool is not installed (scripts/install-deps.sh installs it)"
    exit 77
  fi
done

work=$(mktemp -d)
xvfb_pid=""
maison_pid=""
cleanup() {
  [ -n "$maison_pid" ] && kill "$maison_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  if [ "${keep:-0}" = 1 ] || [ -n "${KEEP_WORK:-}" ]; then echo "work files kept in $work"; else rm -rf "$work"; fi
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  keep=1
  [ -f "$work/run/stderr.txt" ] && { echo "--- maison stderr"; cat "$work/run/stderr.txt"; }
  exit 1
}

. "$(dirname "${BASH_SOURCE[0]}")/xvfb_display.sh"
start_xvfb 141 190 1024x768x24

# One run in run/ (an 800 x 600 window, reports in run/reports) with a
# stand-in menu program in the parent folder. Extra environment for maison
# may be given as NAME=VALUE arguments.
start_run() {
  rm -rf "$work/run" "$work/handover.txt"
  mkdir -p "$work/run/reports"
  cp "$BIN_DIR/HOME.SP1" "$work/run/"
  cat >"$work/run/kvr.ini" <<'INI'
[runtime]
backend = window
[window]
mode = windowed
width = 800
height = 600
title = maison-window-test
screenshots = reports
INI
  cat >"$work/onglets.exe" <<'SH'
#!/bin/sh
echo "$1" > "$(dirname "$0")/handover.txt"
SH
  chmod +x "$work/onglets.exe"
  (cd "$work/run" && exec env KVR_TRACE=trace.jsonl "$@" "$BIN_DIR/maison" 1000 2>stderr.txt) &
  maison_pid=$!
  window=$(timeout 10 xdotool search --sync --onlyvisible --name maison-window-test | head -n 1)
  [ -n "$window" ] || fail "no window appeared"
  eval "$(xdotool getwindowgeometry --shell "$window")"
  win_x=$X win_y=$Y win_w=$WIDTH win_h=$HEIGHT
  xdotool windowfocus --sync "$window" 2>/dev/null || true
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

# click X Y [BUTTON]: a click at a layout point.
click() {
  read -r sx sy <<<"$(screen_xy "$1" "$2")"
  xdotool mousemove "$sx" "$sy" click "${3:-1}"
  sleep "${click_pause:-0.4}"
}

# crop SHOT X1 Y1 X2 Y2 OUT: a layout rectangle cut out of a screenshot.
crop() {
  read -r cx1 cy1 <<<"$(screen_xy "$2" "$5")"
  read -r cx2 cy2 <<<"$(screen_xy "$4" "$3")"
  convert "$1" -crop "$((cx2 - cx1))x$((cy2 - cy1))+$cx1+$cy1" +repage "$6"
}

keys() {
  for k in "$@"; do
    xdotool key "$k"
    sleep "${key_pause:-0.15}"
  done
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
  tail -n 1 "$work/run/trace.jsonl" | grep -q '"event":"end"' || fail "$1: trace has no end line"
}
