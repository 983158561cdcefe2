#!/usr/bin/env bash
# Idle CPU use of the real window under Xvfb, in the states where the
# program waits for the user: the main screen, a panel open, a reference
# pinned, the focus ring shown, the intro choice, an intro page held on
# screen, the results view (with the reference still pinned) and a button
# held down. For each: the CPU time of maison (program and runtime, all its
# threads) and of Xvfb, from /proc/PID/task/*/schedstat (nanoseconds), and
# how often maison was woken (voluntary context switches). Prints a
# Markdown table.
#
#   bench/render/idle_cpu.sh BIN_DIR [SECONDS]
set -eu
bin_dir=$(cd "$1" && pwd)
seconds=${2:-10}
# shellcheck source=../window/window_session.sh
. "$(dirname "$0")/../window/window_session.sh"
start_window "$bin_dir" maison-idle

# CPU nanoseconds of every thread of a process.
cpu_ns() { cat /proc/"$1"/task/*/schedstat 2>/dev/null | awk '{ s += $1 } END { print s + 0 }'; }
wakeups() { awk '/^voluntary_ctxt_switches/ { print $2 }' "/proc/$1/status"; }
measure() {
  sleep 1
  local m0 x0 w0 m1 x1 w1
  m0=$(cpu_ns "$maison_pid")
  x0=$(cpu_ns "$xvfb_pid")
  w0=$(wakeups "$maison_pid")
  sleep "$seconds"
  m1=$(cpu_ns "$maison_pid")
  x1=$(cpu_ns "$xvfb_pid")
  w1=$(wakeups "$maison_pid")
  awk -v name="$1" -v m=$((m1 - m0)) -v x=$((x1 - x0)) -v w=$((w1 - w0)) -v s="$seconds" \
    'BEGIN { printf "| %s | %.3f %% | %.1f | %.3f %% |\n", name, 100 * m / 1e9 / s, w / s,
             100 * x / 1e9 / s }'
}

echo "| State ($seconds s each) | maison (program + runtime) | maison wakeups / s | Xvfb |"
echo "|---|---|---|---|"
sleep 1
at 300 300
measure "main screen"
click 231 92 # the Walls menu button
at 300 300
measure "a panel open (Walls)"
xdotool key F5 # a reference pinned: ghost bars, second lines, the hollow tag
measure "a reference pinned"
xdotool key Tab # the focus ring shown (on « Murs »)
measure "the focus ring shown"
click 670 579 # the intro button: the intro choice polls
measure "intro choice"
click 100 580 # « Utilisation »: the page stays until a click
measure "an intro page"
click 300 300 # dismisses the page (the runtime keeps this click)
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
