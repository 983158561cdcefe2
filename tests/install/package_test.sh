#!/usr/bin/env bash
# The Debian package built by CPack from this build: its name, fields and
# Depends (what dpkg-shlibdeps found, and the font), its files under /usr with
# Debian's owners and modes, a stripped program that still runs from the
# unpacked tree, and no error from lintian.
#
#   package_test.sh BUILD_DIR APPSTREAM_ID VERSION
set -u
build_dir=$(cd "$1" && pwd)
app_id=$2
version=$3
. "$(dirname "$0")/lib.sh"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
if ! cpack --config "$build_dir/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  echo "FAIL: cpack"
  cat "$work/cpack.log"
  exit 1
fi
deb=$work/out/maison_${version}_amd64.deb
check "cpack made maison_${version}_amd64.deb" test -f "$deb" || {
  ls "$work/out"
  exit 1
}

field() { dpkg-deb --field "$deb" "$1"; }
check "Package, Version, Architecture, Section" test \
  "$(field Package) $(field Version) $(field Architecture) $(field Section)" = \
  "maison $version amd64 education"
depends=$(field Depends)
echo "Depends: $depends"
# The libraries the program and the runtime link, found by dpkg-shlibdeps,
# each with a version; the font; and nothing for the private runtime.
dependency() { sed 's/, /\n/g' <<<"$depends" | awk -v name="$1" '$1 == name'; }
for package in libc6 libstdc++6 libcairo2 libinih1 libsdl2-2.0-0; do
  check "Depends names $package with a version" grep -q -E "^[^ ]+ \(>= [^)]+\)$" <<<"$(dependency "$package")"
done
check "Depends names fonts-dejavu-core" test -n "$(dependency fonts-dejavu-core)"
check "Depends names no package for libKvrRun" bash -c '! grep -qi kvrrun <<<"$1"' _ "$depends"

dpkg-deb --contents "$deb" >"$work/contents.txt"
package_files() { awk '$1 !~ /^d/ { print $6 }' "$work/contents.txt" | sed 's|^\./usr/||' | grep -v '^share/icons/' | sort; }
if ! diff <(expected_files "$app_id") <(package_files) >"$work/files.diff"; then
  sed 's/^/  /' "$work/files.diff"
  check "the package holds exactly the expected files under /usr" false
else
  check "the package holds exactly the expected files under /usr" true
fi
check "every file and folder belongs to root:root" bash -c '! awk "\$2 != \"root/root\"" "$1" | grep -q .' \
  _ "$work/contents.txt"
mode_of() { awk -v path="./usr/$1" '$6 == path { print $1 }' "$work/contents.txt"; }
check "modes: launcher and program 755, runtime and data 644" test \
  "$(mode_of bin/maison) $(mode_of lib/maison/maison) $(mode_of lib/maison/libKvrRun.so) $(mode_of share/maison/HOME.SP1)" = \
  "-rwxr-xr-x -rwxr-xr-x -rw-r--r-- -rw-r--r--"
check "every folder is 755" bash -c '! awk "\$1 ~ /^d/ && \$1 != \"drwxr-xr-x\"" "$1" | grep -q .' \
  _ "$work/contents.txt"

dpkg-deb --extract "$deb" "$work/root"
check "icons in the package: scalable, 48x48, every PNG of its folder's size" \
  check_icons "$work/root/usr/share/icons"
check "the program and the runtime are stripped" bash -c \
  '! file "$1/maison" "$1/libKvrRun.so" | grep -q "not stripped"' _ "$work/root/usr/lib/maison"
check "the launcher of the unpacked tree answers --version" \
  test "$("$work/root/usr/bin/maison" --version)" = "maison $version"
mkdir -p "$work/run"
cp "$work/root/usr/share/maison/HOME.SP1" "$work/run/"
check "the unpacked program runs one headless frame with its scene" bash -c \
  'cd "$2" && env -u LD_LIBRARY_PATH KVR_BACKEND=headless KVR_TRACE=trace.jsonl "$1/maison" >/dev/null 2>&1 &&
   grep -q "\"event\":\"load\",\"file\":\"HOME.SP1\",\"ok\":true" trace.jsonl' \
  _ "$work/root/usr/lib/maison" "$work/run"

if command -v lintian >/dev/null; then
  lintian --fail-on error --display-level '>=warning' --tag-display-limit 0 "$deb" >"$work/lintian.txt" 2>&1
  status=$?
  sed 's/^/  lintian: /' "$work/lintian.txt"
  check "lintian reports no error" test "$status" -eq 0
else
  check "lintian is installed (scripts/install-deps.sh)" false
fi

finish
