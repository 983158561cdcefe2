# Shared by the Xvfb tests: start_xvfb FIRST LAST SIZE starts a private
# Xvfb on the first free display number from FIRST to LAST (no lock file,
# no socket) with one screen of SIZE (e.g. 1024x768x24), keeps its pid in
# xvfb_pid, its log in $work/xvfb.log, and exports DISPLAY. Exits 77
# (skipped) when no display can start.
start_xvfb() {
  local n
  display=""
  for n in $(seq "$1" "$2"); do
    [ -e "/tmp/.X$n-lock" ] || [ -e "/tmp/.X11-unix/X$n" ] && continue
    Xvfb ":$n" -screen 0 "$3" -nolisten tcp >"$work/xvfb.log" 2>&1 &
    xvfb_pid=$!
    for _ in $(seq 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && break
      kill -0 "$xvfb_pid" 2>/dev/null || break
      sleep 0.1
    done
    if [ -e "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
      display=":$n"
      break
    fi
    kill "$xvfb_pid" 2>/dev/null
    xvfb_pid=""
  done
  if [ -z "$display" ]; then
    echo "SKIP: Xvfb cannot start here"
    cat "$work/xvfb.log" 2>/dev/null
    exit 77
  fi
  export DISPLAY=$display
}
