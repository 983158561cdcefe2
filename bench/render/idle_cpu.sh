#!/usr/bin/env bash
# Idle CPU use of the real window under Xvfb, in the four states where the
# program polls back to back: the main screen, the intro choice, the
# results view and a button held down. Prints a Markdown table.
#
#   bench/render/idle_cpu.sh BIN_DIR [SECONDS]
set -eu
bin_dir=$(cd "$1" && pwd)
seconds=${2:-5}
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "$tool is needed"; exit 1; }
done

work=$(mktemp -d)
xvfb_pid="" maison_pid=""
cleanup() {
  [ -n "$maison_pid" ] && kill "$maison_pid" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for n in $(seq 141 190); do
  [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
  Xvfb ":$n" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
  export DISPLAY=":$n"
  break
done

mkdir -p "$work/run"
cp "$bin_dir/HOME.SP1" "$work/run/"
printf '[window]\nmode = windowed\nwidth = 800\nheight = 600\ntitle = maison-idle\n' \
  >"$work/run/kvr.ini"
(cd "$work/run" && exec "$bin_dir/maison" 1000 2>/dev/null) &
maison_pid=$!
window=$(timeout 10 xdotool search --sync --onlyvisible --name maison-idle | head -n 1)
eval "$(xdotool getwindowgeometry --shell "$window")"
at() { xdotool mousemove $((X + $1)) $((Y + 600 - $2)); }

ticks() { awk '{print $14 + $15}' "/proc/$1/stat"; }
hz=$(getconf CLK_TCK)
measure() {
  sleep 1
  local m0 x0 m1 x1
  m0=$(ticks "$maison_pid")
  x0=$(ticks "$xvfb_pid")
  sleep "$seconds"
  m1=$(ticks "$maison_pid")
  x1=$(ticks "$xvfb_pid")
  awk -v name="$1" -v m=$((m1 - m0)) -v x=$((x1 - x0)) -v hz="$hz" -v s="$seconds" \
    'BEGIN { printf "| %s | %.1f %% | %.1f %% |\n", name, 100 * m / hz / s, 100 * x / hz / s }'
}

echo "| State ($seconds s each) | maison (program + runtime) | Xvfb |"
echo "|---|---|---|"
sleep 1
at 300 300
measure "main screen"
at 670 579 && xdotool click 1 # the intro button: the intro choice polls
measure "intro choice"
at 300 300 && xdotool click 3 # right click elsewhere: the setting alone
sleep 0.5 && xdotool click 1   # back
sleep 0.5
at 685 42 && xdotool mousedown 1 && sleep 0.2 && xdotool mouseup 1 # results view
at 700 200
measure "results view"
xdotool click 3 # closes it
sleep 0.5
at 231 92 && xdotool mousedown 1 # a menu button held down
measure "button held down"
xdotool mouseup 1
echo
echo "Resident memory of maison: $(awk '/VmRSS/ {print $2, $3}' "/proc/$maison_pid/status")"
