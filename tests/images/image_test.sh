#!/usr/bin/env bash
# One image test: runs the real program headless on a pointer script and
# compares the scene picture written after the script's last chosen action
# with the reference picture kept in the repository.
#
#   image_test.sh BIN_DIR CASE.script EXPECTED_DIR OUT_DIR [--update]
#
# The script's first line names the action: "# after: HOME". Optional
# comment lines after it: "# commands: 9:reference, 30:focus_next*3" runs
# runtime commands after those calls (the [headless] commands setting), and
# "# size: 1920x1080" draws the picture at that size. With --update the
# picture becomes the new reference. On a mismatch the picture and a
# difference image are left in OUT_DIR.
set -u
bin_dir=$(cd "$1" && pwd)
case_file=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
expected_dir=$3
out_dir=$4
update=${5:-}
name=$(basename "$case_file" .script)
# Pixels allowed to differ by more than the fuzz: room for font rasterising
# differences between machines, far less than any changed label.
tolerance=${IMAGE_TOLERANCE:-60}

after=$(sed -n '1s/^# after: *//p' "$case_file")
[ -n "$after" ] || { echo "$case_file: first line must be '# after: ACTION'"; exit 1; }
commands=$(sed -n 's/^# commands: *//p' "$case_file" | head -n 1)
size=$(sed -n 's/^# size: *//p' "$case_file" | head -n 1)
extra=""
[ -n "$commands" ] && extra+="commands = $commands"$'\n'
if [ -n "$size" ]; then
  extra+="png_width = ${size%x*}"$'\n'"png_height = ${size#*x}"$'\n'
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/run/png"
cp "$bin_dir/HOME.SP1" "$work/run/"
cat >"$work/run/kvr.ini" <<INI
[runtime]
backend = headless
[headless]
input = $case_file
png_dir = png
png_after = $after
$extra
INI
(cd "$work/run" && "$bin_dir/maison" 1000 >"$work/stdout.txt" 2>"$work/stderr.txt")
status=$?
if [ "$status" != 0 ]; then
  echo "$name: maison ended with status $status"
  cat "$work/stderr.txt"
  exit 1
fi
picture=$(ls "$work/run/png"/*.png 2>/dev/null | sort | tail -n 1)
if [ -z "$picture" ]; then
  echo "$name: no picture was written after $after"
  cat "$work/stderr.txt"
  exit 1
fi

mkdir -p "$out_dir"
if [ "$update" = "--update" ]; then
  mkdir -p "$expected_dir"
  cp "$picture" "$expected_dir/$name.png"
  echo "$name: reference updated"
  exit 0
fi
reference="$expected_dir/$name.png"
if [ ! -f "$reference" ]; then
  cp "$picture" "$out_dir/$name.png"
  echo "$name: no reference picture $reference (new picture in $out_dir/$name.png;"
  echo "run scripts/update-images.sh to accept it)"
  exit 1
fi
differing=$(compare -metric AE -fuzz 5% "$picture" "$reference" "$work/diff.png" 2>&1)
differing=${differing%% *}
if ! [ "${differing%.*}" -le "$tolerance" ] 2>/dev/null; then
  cp "$picture" "$out_dir/$name.png"
  cp "$work/diff.png" "$out_dir/$name-diff.png" 2>/dev/null
  echo "$name: $differing pixels differ from $reference (allowed $tolerance)"
  echo "picture: $out_dir/$name.png, differences: $out_dir/$name-diff.png"
  echo "if the change is intended: scripts/update-images.sh"
  exit 1
fi
echo "$name: matches ($differing pixels differ)"
