#!/usr/bin/env bash
# An install into a scratch prefix: the files are all there and nothing
# else, the data are those of data/, the program finds its runtime through
# its own RUNPATH and runs from the prefix, and the desktop entry, the
# AppStream metadata and the manual page pass their validators.
#
#   install_tree_test.sh BUILD_DIR SOURCE_DIR APPSTREAM_ID VERSION
set -u
build_dir=$(cd "$1" && pwd)
source_dir=$(cd "$2" && pwd)
app_id=$3
version=$4
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
install_into "$build_dir" "$prefix"

actual_files() {
  (cd "$prefix" && find . -path ./share/icons -prune -o -type f -print | sed 's|^\./||' | sort)
}
if ! diff <(expected_files "$app_id") <(actual_files) >"$work/files.diff"; then
  sed 's/^/  /' "$work/files.diff"
  check "installed files are exactly the expected ones" false
else
  check "installed files are exactly the expected ones" true
fi
check "icons: scalable, 48x48, every PNG of its folder's size" check_icons "$prefix/share/icons"

same_data() {
  local f
  for f in HOME.SP1 kvr.ini kvrbdo.ini kvrnu.ini; do
    cmp -s "$source_dir/data/$f" "$prefix/share/maison/$f" || { echo "  $f differs"; return 1; }
  done
}
check "scene and settings are those of data/" same_data

runpath() { readelf -d "$1" | sed -n 's/.*(RUNPATH).*\[\(.*\)\]/\1/p'; }
check "the program's RUNPATH is \$ORIGIN" test "$(runpath "$prefix/lib/maison/maison")" = '$ORIGIN'
check "the runtime library has no RUNPATH" test -z "$(runpath "$prefix/lib/maison/libKvrRun.so")"
resolved=$(env -u LD_LIBRARY_PATH ldd "$prefix/lib/maison/maison" | awk '$1 == "libKvrRun.so" { print $3 }')
check "libKvrRun.so resolves to the prefix's copy ($resolved)" \
  test "$resolved" = "$prefix/lib/maison/libKvrRun.so"

# One headless frame of the installed program, in a folder of its own.
mkdir -p "$work/run"
cp "$prefix/share/maison/HOME.SP1" "$prefix/share/maison/kvr.ini" "$work/run/"
(cd "$work/run" && env -u LD_LIBRARY_PATH KVR_BACKEND=headless KVR_TRACE=trace.jsonl \
  "$prefix/lib/maison/maison" >stdout.txt 2>stderr.txt)
status=$?
check "the installed program runs one headless frame (status $status)" test "$status" -eq 0
check "it loaded the scene and ended" bash -c \
  'grep -q "\"event\":\"load\",\"file\":\"HOME.SP1\",\"ok\":true" "$1" && tail -n 1 "$1" | grep -q "\"event\":\"end\""' \
  _ "$work/run/trace.jsonl"

desktop=$prefix/share/applications/maison.desktop
check "desktop-file-validate accepts the entry" desktop-file-validate "$desktop"
desktop_key() { sed -n "s/^$1=//p" "$desktop"; }
check "desktop entry: name, command, icon, categories" test \
  "$(desktop_key Name)|$(desktop_key Exec)|$(desktop_key Icon)|$(desktop_key Categories)" = \
  "Maison — déperditions thermiques|maison|maison|Education;Science;"

metainfo=$prefix/share/metainfo/$app_id.metainfo.xml
check "appstreamcli validates the metainfo" appstreamcli validate --no-net --pedantic "$metainfo"
check "metainfo: id, desktop entry, screenshot and this release" bash -c \
  'grep -q "<id>$2</id>" "$1" && grep -q "<launchable type=\"desktop-id\">maison.desktop</launchable>" "$1" &&
   grep -q "<image type=\"source\"[^>]*>https://" "$1" && grep -q "<release version=\"$3\" date=\"[0-9-]*\"/>" "$1" &&
   ! grep -q @ "$1"' _ "$metainfo" "$app_id" "$version"

man_page=$prefix/share/man/man1/maison.1.gz
man_warnings=$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$man_page" 2>&1 >/dev/null)
check "the manual page formats without warnings" test -z "$man_warnings"
[ -z "$man_warnings" ] || echo "$man_warnings" | sed 's/^/  /'
man_text=$(zcat "$man_page")
check "the manual page names this prefix, version and the keys" bash -c \
  'grep -q -F "$2/share/maison" <<<"$1" && grep -q -F "maison $3" <<<"$1" && ! grep -q @ <<<"$1" &&
   for key in F5 F10 F11 F12 Escape Tab; do grep -q "^\.B.* $key\( \|$\)" <<<"$1" || exit 1; done' \
  _ "$man_text" "$prefix" "$version"

finish
