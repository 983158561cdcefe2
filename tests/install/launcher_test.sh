#!/usr/bin/env bash
# The launcher of an installation, in scratch home folders: the first start
# makes the working folder, later starts keep what the user changed, the
# scene follows an upgrade unless the user changed it, the hand-over finds a
# menu program only where one was installed for it, and a missing or
# read-only home folder gives a clear message. The program runs headless
# without a pointer script: one frame.
#
#   launcher_test.sh BUILD_DIR VERSION
set -u
build_dir=$(cd "$1" && pwd)
version=$2
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'chmod -R u+w "$work" 2>/dev/null; rm -rf "$work"' EXIT
prefix=$work/prefix
install_into "$build_dir" "$prefix"
launcher=$prefix/bin/maison
installed=$prefix/share/maison
cd "$work" || exit 1

# run NAME [VAR=VALUE...] [-- ARG...]: the launcher in a clean environment;
# its status, standard output and error are left in $work/NAME.{status,out,err}.
run() {
  local name=$1 vars=() status
  shift
  while [ $# -gt 0 ] && [ "$1" != -- ]; do
    vars+=("$1")
    shift
  done
  [ $# -gt 0 ] && shift
  env -i PATH="$PATH" KVR_BACKEND=headless ${ASAN_OPTIONS:+ASAN_OPTIONS="$ASAN_OPTIONS"} \
    ${UBSAN_OPTIONS:+UBSAN_OPTIONS="$UBSAN_OPTIONS"} ${LSAN_OPTIONS:+LSAN_OPTIONS="$LSAN_OPTIONS"} \
    "${vars[@]}" "$launcher" "$@" >"$work/$name.out" 2>"$work/$name.err"
  status=$?
  echo "$status" >"$work/$name.status"
  return 0
}
status_of() { cat "$work/$1.status"; }
said() { grep -q -F -- "$2" "$work/$1.out" "$work/$1.err"; }
said_line() { grep -q -x -F -- "maison: $2" "$work/$1.out"; }
show() { sed 's/^/  | /' "$work/$1.out" "$work/$1.err"; }

# runs_read_only DIR COMMAND...: COMMAND with DIR read-only, also for root
# (a read-only bind mount in a mount namespace of its own); status 77 when
# that cannot be arranged here. COMMAND may be the function run.
export -f run
export work launcher
runs_read_only() {
  local dir=$1 status
  shift
  if [ "$(id -u)" -ne 0 ]; then
    chmod a-w "$dir"
    "$@"
    status=$?
    chmod u+w "$dir"
    return $status
  fi
  command -v unshare >/dev/null || return 77
  unshare --mount --map-root-user true 2>/dev/null || return 77
  unshare --mount --map-root-user bash -c \
    'mount --bind -o ro "$1" "$1" || exit 77; shift; "$@"' _ "$dir" "$@"
}

# --- options: answered without touching anything
run help HOME="$work/nohome" -- --help
check "--help: status 0, usage, nothing made" bash -c \
  '[ "$(cat "$1.status")" = 0 ] && grep -q "^Usage: maison \[LAUNCH_CODE\]" "$1.out" && [ ! -e "$2" ]' \
  _ "$work/help" "$work/nohome"
run version -- --version
check "--version prints the project version" test "$(cat "$work/version.out")" = "maison $version"
for bad in abc 65536 -1 --fullscreen "12 34"; do
  run bad HOME="$work/nohome" -- $bad
  check "argument(s) '$bad': usage error 2, nothing made" bash -c \
    '[ "$(cat "$1.status")" = 2 ] && grep -q "usage: maison" "$1.err" && [ ! -e "$2" ]' \
    _ "$work/bad" "$work/nohome"
done
check "the launcher is valid POSIX sh" sh -n "$launcher"
if command -v shellcheck >/dev/null; then
  check "shellcheck finds nothing in the launcher" shellcheck -s sh "$launcher"
fi

# --- first start and later starts
home=$work/home
mkdir -p "$home"
folder=$home/.local/share/maison
run first HOME="$home"
check "first start: status 0" test "$(status_of first)" = 0 || show first
check "first start: says so and names the folder" said first "first start: made the working folder $folder"
same_as_installed() {
  local f
  for f in HOME.SP1 kvr.ini kvrbdo.ini kvrnu.ini; do cmp -s "$installed/$f" "$folder/$f" || return 1; done
}
check "first start: the folder holds copies of the settings and the scene" same_as_installed
check "screenshots and reports: the working folder by default" \
  said_line first "screenshots (F12) and reports (F10) go to $folder"
check "no temporary file is left behind" test -z "$(find "$folder" -name '*.new.*')"

echo "; changed by the user" >>"$folder/kvr.ini"
cp "$folder/kvr.ini" "$work/kvr.ini.user"
rm "$folder/kvrnu.ini"
run second HOME="$home" KVR_TRACE=trace.jsonl
check "second start: status 0, no first-start message" bash -c \
  '[ "$(cat "$1.status")" = 0 ] && ! grep -q "first start" "$1.out"' _ "$work/second"
check "second start: the changed kvr.ini is kept" cmp -s "$work/kvr.ini.user" "$folder/kvr.ini"
check "second start: a removed settings file is copied again" cmp -s "$installed/kvrnu.ini" "$folder/kvrnu.ini"
check "the program ran in the working folder and loaded its scene" \
  grep -q '"event":"load","file":"HOME.SP1","ok":true' "$folder/trace.jsonl"

# A launch code ending in 1 copies kvrbdo.ini over kvr.ini; that copy stays.
run code HOME="$home" -- 1231
check "launch code 1231: kvrbdo.ini over kvr.ini" cmp -s "$installed/kvrbdo.ini" "$folder/kvr.ini"
run after_code HOME="$home"
check "the next start keeps that kvr.ini" cmp -s "$installed/kvrbdo.ini" "$folder/kvr.ini"

# The screenshot folder follows [window] screenshots of the settings in force.
printf '[window]\nscreenshots = pictures ; where F12 writes\n' >"$folder/kvr.ini"
run shots HOME="$home"
check "screenshots = pictures: announced inside the working folder" \
  said_line shots "screenshots (F12) and reports (F10) go to $folder/pictures"
run shots_code HOME="$home" -- 1002
check "launch code ending in 2: the folder of kvrnu.ini is announced" \
  said_line shots_code "screenshots (F12) and reports (F10) go to $folder"

# --- the scene follows an upgrade, unless the user changed it
printf '\n' >>"$installed/HOME.SP1"
run upgrade HOME="$home"
check "upgraded scene: an unchanged copy is replaced, with a message" bash -c \
  'cmp -s "$1" "$2" && grep -q "was updated to the installed one" "$3.out"' \
  _ "$installed/HOME.SP1" "$folder/HOME.SP1" "$work/upgrade"
printf ' \n' >>"$folder/HOME.SP1"
cp "$folder/HOME.SP1" "$work/HOME.SP1.user"
printf '\n' >>"$installed/HOME.SP1"
run upgrade_changed HOME="$home"
check "upgraded scene: a copy changed by the user is kept, with a note" bash -c \
  'cmp -s "$1" "$2" && grep -q "keeping .*HOME.SP1" "$3.err" && [ "$(cat "$3.status")" = 0 ]' \
  _ "$work/HOME.SP1.user" "$folder/HOME.SP1" "$work/upgrade_changed"

# --- the hand-over: a menu program runs only where one was installed for it
menu_program() {  # FILE: a stand-in menu program writing the code it got beside itself
  printf '#!/bin/sh\necho "$1" >"$(dirname "$0")/received.txt"\n' >"$1"
  chmod +x "$1"
}
menu_program "$home/onglets.exe"
run no_menu HOME="$home" -- 1234
sleep 1
check "no menu program is started from the home folder" test ! -e "$home/received.txt"
data_home=$work/xdg
mkdir -p "$data_home"
menu_program "$data_home/onglets.exe"
run menu HOME="$home" XDG_DATA_HOME="$data_home" -- 1239
check "XDG_DATA_HOME: the working folder is made there" test -f "$data_home/maison/HOME.SP1"
check "a menu program in XDG_DATA_HOME is announced" said menu "the menu program $data_home/onglets.exe is started"
check "... and started with the return code 1230" bash -c \
  'wait_for() { for _ in $(seq 1 50); do [ -s "$1" ] && return 0; sleep 0.1; done; return 1; }
   wait_for "$1" && [ "$(cat "$1")" = 1230 ]' _ "$data_home/received.txt"
run relative_xdg HOME="$home" XDG_DATA_HOME=relative/path
check "a relative XDG_DATA_HOME is ignored, with a note" bash -c \
  '[ "$(cat "$1.status")" = 0 ] && grep -q "not an absolute path" "$1.err" && [ ! -e relative ]' \
  _ "$work/relative_xdg"
check "... and the home folder's working folder is used" said_line relative_xdg "working folder $folder"

# --- no usable home folder: a clear message, status 1, nothing made
run unset_home
check "HOME unset: status 1 and a message" bash -c \
  '[ "$(cat "$1.status")" = 1 ] && grep -q "HOME is not set" "$1.err"' _ "$work/unset_home"
run missing_home HOME="$work/gone"
check "HOME missing: status 1, a message, and it is not made" bash -c \
  '[ "$(cat "$1.status")" = 1 ] && grep -q "home folder $2 does not exist" "$1.err" && [ ! -e "$2" ]' \
  _ "$work/missing_home" "$work/gone"
# From the desktop menu the message is also a notification.
mkdir -p "$work/tools"
printf '#!/bin/sh\nprintf "%%s|" "$@" >>"%s/notified.txt"\n' "$work" >"$work/tools/notify-send"
chmod +x "$work/tools/notify-send"
PATH="$work/tools:$PATH" run missing_home_desktop HOME="$work/gone" DISPLAY=:99
check "with a display, the message is also a desktop notification" grep -q -F \
  "Maison|the home folder $work/gone does not exist" "$work/notified.txt"
rm -f "$work/notified.txt"
PATH="$work/tools:$PATH" run missing_home_terminal HOME="$work/gone"
check "without a display, no notification" test ! -e "$work/notified.txt"
file_home=$work/file-home
mkdir -p "$file_home/.local/share"
touch "$file_home/.local/share/maison"
run in_the_way HOME="$file_home"
check "a file in place of the working folder: status 1 and a message" bash -c \
  '[ "$(cat "$1.status")" = 1 ] && grep -q "is in the way of the working folder" "$1.err"' _ "$work/in_the_way"

local_home=$work/local-home
install_into "$build_dir" "$local_home/.local"
launcher=$local_home/.local/bin/maison run local_install HOME="$local_home"
check "installed under ~/.local: refused with a message, installed kvr.ini untouched" bash -c \
  '[ "$(cat "$1.status")" = 1 ] && grep -q "is where maison is installed" "$1.err" &&
   cmp -s "$2/share/maison/kvr.ini" "$3/.local/share/maison/kvr.ini"' \
  _ "$work/local_install" "$prefix" "$local_home"

read_only_home=$work/ro-home
mkdir -p "$read_only_home"
runs_read_only "$read_only_home" run read_only HOME="$read_only_home"
case $? in
  77) echo "skip: a read-only folder cannot be arranged here" ;;
  *)
    check "read-only HOME: status 1 and a message naming the folder" bash -c \
      '[ "$(cat "$1.status")" = 1 ] &&
       grep -q "cannot make the working folder $2/.local/share/maison: \(Read-only file system\|Permission denied\)" "$1.err"' \
      _ "$work/read_only" "$read_only_home" || show read_only
    ;;
esac
runs_read_only "$folder" run read_only_folder HOME="$home"
case $? in
  77) echo "skip: a read-only folder cannot be arranged here" ;;
  *)
    check "read-only working folder: status 1 and a message" bash -c \
      '[ "$(cat "$1.status")" = 1 ] && grep -q "cannot write in the working folder $2" "$1.err"' \
      _ "$work/read_only_folder" "$folder"
    ;;
esac

finish
