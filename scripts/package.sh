#!/usr/bin/env bash
# Builds the Debian package build/maison_VERSION_amd64.deb and checks it.
#
# The program is built in build/package with Debian's own compiler and linker
# flags (dpkg-buildflags, with every hardening feature), installed under /usr
# by CPack, which computes Depends with dpkg-shlibdeps. Then lintian checks the
# package and the desktop entry and AppStream metadata are validated; the
# unpacked program runs one headless frame, and apt checks that the Depends
# can be met (a simulated install). scripts/test.sh runs it too.
#
# Warnings are not errors here (MAISON_WERROR=OFF), as in every Debian package
# build: the distribution's compiler and flags change under the package, and a
# new warning, often from a library header, must not stop it. Developer builds
# and scripts/test.sh keep -Werror. CMAKE_BUILD_PARALLEL_LEVEL sets how many
# compile jobs run at once.
#
#   scripts/package.sh
#   sudo apt install ./build/maison_*.deb
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

scripts/install-deps.sh

export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake -S . -B build/package -G Ninja \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_INSTALL_PREFIX=/usr \
  -DMAISON_BUILD_TESTS=OFF -DMAISON_BUILD_BENCH=OFF -DMAISON_WERROR=OFF \
  -DCMAKE_C_FLAGS="$(dpkg-buildflags --get CFLAGS) $cppflags" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CXXFLAGS) $cppflags" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" \
  -DCMAKE_SHARED_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)"
cmake --build build/package

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' build/package/CMakeCache.txt)
deb=build/maison_${version}_amd64.deb
rm -rf build/package/cpack
cpack --config build/package/CPackConfig.cmake -B build/package/cpack
mv -f "build/package/cpack/maison_${version}_amd64.deb" "$deb"

echo "== $deb"
dpkg-deb --field "$deb" Package Version Architecture Depends Suggests Installed-Size
echo "== lintian"
lintian --fail-on error --display-level '>=warning' --tag-display-limit 0 "$deb"
echo "== desktop entry and AppStream metadata"
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb --extract "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
echo "== the unpacked launcher and program (one headless frame)"
"$contents/usr/bin/maison" --help >/dev/null
mkdir "$contents/run"
cp "$contents/usr/share/maison/HOME.SP1" "$contents/run/"
if ! (cd "$contents/run" && env -u LD_LIBRARY_PATH KVR_BACKEND=headless KVR_TRACE=trace.jsonl \
  "$contents/usr/lib/maison/maison" >/dev/null) ||
  ! tail -n 1 "$contents/run/trace.jsonl" | grep -q '"event":"end"'; then
  echo "package.sh: the program of the package did not run its frame to the end" >&2
  exit 1
fi
echo "== Depends, as apt would install the package here"
if ! apt-get install --simulate -q "./$deb" >"$contents/apt.txt" 2>&1; then
  cat "$contents/apt.txt" >&2
  echo "package.sh: apt cannot meet the package's Depends" >&2
  exit 1
fi
grep '^Inst ' "$contents/apt.txt"
echo
echo "Built $deb. Install it with:  sudo apt install ./$deb"
