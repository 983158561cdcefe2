#!/usr/bin/env bash
# A window resized by dragging, measured: maison in an 800 x 600 window
# under Xvfb, with a reference pinned and the four result views open, is
# sent STEPS sizes as fast as xdotool can send them, then a last one. Every
# frame the window draws and presents is logged (present_log.so, preloaded).
# Prints how many frames were drawn during the drag, the gaps between their
# starts (the window draws at most once per display refresh, about 16.7 ms
# under Xvfb), and whether the last frame presented has the last size.
#
#   bench/window/resize_drag.sh BIN_DIR [STEPS]
set -eu
bin_dir=$(cd "$1" && pwd)
steps=${2:-150}
[ -f "$bin_dir/present_log.so" ] || { echo "$bin_dir/present_log.so is needed (bench/window)"; exit 1; }
# shellcheck source=window_session.sh
. "$(dirname "$0")/window_session.sh"
log=$work/present.log
start_window "$bin_dir" maison-drag PRESENT_LOG="$log" LD_PRELOAD="$bin_dir/present_log.so"

# The heaviest screen to draw: a reference pinned (F5), then « Résultats »
# and « oui » for the U, H, losses and annual-need views; a right click
# closes the menu.
xdotool key F5
sleep 0.3
click 690 40
for y in 465 435 405 375; do click 587 "$y"; done
click 400 300 3
before=$(wc -l <"$log")
for i in $(seq 0 $((steps - 1))); do
  xdotool windowsize "$window" $((800 + i * 5)) $((600 + (i * 3) % 200))
done
xdotool windowsize "$window" 1111 777
sleep 1
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool key Escape
sleep 0.5

echo "sizes sent: $((steps + 1)), the last ${WIDTH}x$HEIGHT"
tail -n +"$((before + 1))" "$log" | awk -v last="${WIDTH}x$HEIGHT" '
  $2 == "start" { if (n > 0) gaps[n] = $1 - prev; prev = $1; if (n == 0) first = $1; n++ }
  $2 != "start" { shown = $3 }
  END {
    if (n < 2) { print "fewer than two frames drawn"; exit 1 }
    m = n - 1
    for (i = 1; i <= m; i++) for (j = i + 1; j <= m; j++) if (gaps[j] < gaps[i]) { t = gaps[i]; gaps[i] = gaps[j]; gaps[j] = t }
    printf "frames drawn: %d over %.0f ms; gaps between their starts: shortest %.1f ms, median %.1f ms\n", n, prev - first, gaps[1], gaps[int((m + 1) / 2)]
    printf "last frame presented: %s (%s)\n", shown, shown == last ? "the last size" : "NOT the last size"
  }'
