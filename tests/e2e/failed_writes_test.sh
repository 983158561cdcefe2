#!/usr/bin/env bash
# Pictures that cannot be written: the headless runtime draws a picture
# after every "HOME" and "DECDROIT" into a 64 KiB tmpfs that fills up, and
# into a read-only one. Each refused picture gives one message naming its
# file, no half file is left under any name, and the run goes on exactly as
# a run whose pictures all succeed: same trace, status 0, hand-over.
#
#   failed_writes_test.sh BIN_DIR
#
# Needs to mount tmpfs (root); exit 77 (skipped) where it cannot. The same
# failures are tested everywhere through the write seam of AtomicFile.
set -u
bin_dir=$(cd "$1" && pwd)
work=$(mktemp -d)
mounted=()
cleanup() {
  for m in "${mounted[@]}"; do umount "$m" 2>/dev/null; done
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*"
  exit 1
}

mkdir -p "$work/full" "$work/readonly" "$work/plain"
if [ "$(id -u)" != 0 ] || ! mount -t tmpfs -o size=64k tmpfs "$work/full" 2>/dev/null; then
  echo "SKIP: cannot mount a tmpfs here (needs root)"
  exit 77
fi
mounted+=("$work/full")
mount -t tmpfs -o size=64k,ro tmpfs "$work/readonly" || fail "cannot mount a read-only tmpfs"
mounted+=("$work/readonly")

# Open the Walls panel, step two of its rows, then some idle frames.
cat >"$work/script.txt" <<'SCRIPT'
231 92 1
231 92 0
775 389 1
775 389 0
775 329 1
775 329 0
0 0 0 *12
SCRIPT

# One run with its pictures in folder $1; the run's files in $work/run-$1.
run() {
  local name=$1 root=$work/run-$1
  mkdir -p "$root/app"
  cp "$bin_dir/HOME.SP1" "$root/app/"
  printf '#!/bin/sh\necho "$1" > "$(dirname "$0")/handover.txt"\n' >"$root/onglets.exe"
  chmod +x "$root/onglets.exe"
  cat >"$root/app/kvr.ini" <<INI
[runtime]
backend = headless
trace = trace.jsonl
[headless]
input = $work/script.txt
png_dir = $work/$name
png_after = HOME, DECDROIT
png_width = 400
png_height = 300
INI
  (cd "$root/app" && env -u KVR_BACKEND -u KVR_INPUT -u KVR_TRACE \
    timeout 60 "$bin_dir/maison" 1000 >stdout.txt 2>stderr.txt)
  local status=$?
  [ "$status" = 0 ] || { cat "$root/app/stderr.txt"; fail "$name: maison ended with status $status"; }
  for _ in $(seq 50); do
    [ -s "$root/handover.txt" ] && break
    sleep 0.1
  done
  [ "$(cat "$root/handover.txt" 2>/dev/null)" = 1000 ] || fail "$name: no hand-over with 1000"
  tail -n 1 "$root/app/trace.jsonl" | grep -q '"event":"end"' || fail "$name: the trace has no end line"
}

# A whole PNG: its signature first and its IEND chunk last.
whole_png() {
  [ "$(head -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] &&
    [ "$(tail -c 8 "$1" | od -An -tx1 | tr -d ' \n')" = 49454e44ae426082 ]
}

run plain
run full
run readonly
wanted=$(grep -cE '"action":"(HOME|DECDROIT)"' "$work/run-plain/app/trace.jsonl")
[ "$(find "$work/plain" -name '*.png' | wc -l)" = "$wanted" ] || fail "plain: not every picture was written"

for name in full readonly; do
  errors=$work/run-$name/app/stderr.txt
  cmp -s "$work/run-plain/app/trace.jsonl" "$work/run-$name/app/trace.jsonl" ||
    fail "$name: the run did not go on as with pictures written (traces differ)"
  written=$(find "$work/$name" -type f | wc -l)
  refused=$(grep -c ': cannot write the picture: ' "$errors")
  [ $((written + refused)) = "$wanted" ] ||
    fail "$name: $wanted pictures gave $written files and $refused messages"
  # Under the sanitizers LeakSanitizer lists the suppressions it used at exit.
  sed -i '/^-*$/d; /^Suppressions used:/d; /^ *count *bytes template/d; /^ *[0-9][0-9]* *[0-9][0-9]* lib/d' "$errors"
  [ "$(grep -vc ': cannot write the picture: ' "$errors")" = 0 ] || fail "$name: other messages: $(cat "$errors")"
  for f in "$work/$name"/*; do
    [ -e "$f" ] || continue
    case $f in
      *.png) whole_png "$f" || fail "$name: $f is not a whole picture" ;;
      *) fail "$name: $f was left behind" ;;
    esac
  done
  while IFS= read -r line; do
    path=${line%%: cannot write the picture: *}
    case $path in "$work/$name"/[0-9][0-9][0-9][0-9]-*.png) ;; *) fail "$name: the message names $path" ;; esac
    [ ! -e "$path" ] || fail "$name: $path exists although its write was refused"
  done <"$errors"
  echo "$name: $written pictures written, $refused refused; $(sed -n '1s/.*: cannot write the picture: //p' "$errors")"
done
[ "$(find "$work/full" -type f | wc -l)" -gt 0 ] || fail "full: not even the first picture fitted"
grep -q 'No space left on device' "$work/run-full/app/stderr.txt" || fail "full: no message of a full disk"
[ "$(find "$work/readonly" -type f | wc -l)" = 0 ] || fail "readonly: a picture was written"
grep -q 'Read-only file system' "$work/run-readonly/app/stderr.txt" || fail "readonly: no message of a read-only folder"
echo "PASS: refused pictures reported, no half file, the run went on"
