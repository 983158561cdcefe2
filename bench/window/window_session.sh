# shellcheck shell=bash
# Shared by the window measurements (bench/render/idle_cpu.sh,
# bench/window/resize_drag.sh), sourced: a private Xvfb and maison in an
# 800 x 600 window on it, with helpers to point and click in layout units.
#
#   start_window BIN_DIR TITLE [ENV=VALUE...]
#
# starts Xvfb (display 141 and up, 1920 x 1200) and maison from a fresh
# folder holding HOME.SP1 and a kvr.ini for the window TITLE, with the
# given variables in its environment; sets work, xvfb_pid, maison_pid,
# window and the window's X and Y. Both processes end with the script.
# `at X Y` moves the pointer to a layout point (origin bottom-left),
# `click X Y [BUTTON]` clicks there and waits for the frame.
work=$(mktemp -d)
xvfb_pid="" maison_pid=""
end_window() {
  [ -n "$maison_pid" ] && kill "$maison_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap end_window EXIT
# shellcheck source=../../tests/window/xvfb_display.sh
. "$(dirname "${BASH_SOURCE[0]}")/../../tests/window/xvfb_display.sh"

start_window() {
  local bin_dir=$1 title=$2
  shift 2
  for tool in Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "$tool is needed"; exit 1; }
  done
  start_xvfb 141 240 1920x1200x24
  mkdir -p "$work/run"
  cp "$bin_dir/HOME.SP1" "$work/run/"
  printf '[window]\nmode = windowed\nwidth = 800\nheight = 600\ntitle = %s\n' "$title" \
    >"$work/run/kvr.ini"
  (cd "$work/run" && exec env "$@" "$bin_dir/maison" 1000 2>/dev/null) &
  maison_pid=$!
  window=$(timeout 10 xdotool search --sync --onlyvisible --name "$title" | head -n 1)
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  eval "$(xdotool getwindowgeometry --shell "$window")"
}

at() { xdotool mousemove $((X + $1)) $((Y + 600 - $2)); }
click() { at "$1" "$2" && xdotool click "${3:-1}" && sleep 0.5; }
