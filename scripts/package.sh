#!/usr/bin/env bash
# Builds the Debian package build/maison_VERSION_amd64.deb and checks it.
#
# The program is built in build/package with Debian's own compiler and linker
# flags (dpkg-buildflags, with every hardening feature), installed under /usr
# by CPack, which computes Depends with dpkg-shlibdeps. Then lintian checks the
# package and the desktop entry and AppStream metadata are validated.
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
dpkg-deb --info "$deb" | sed -n '/Package:/,$p'
echo "== lintian"
lintian --fail-on error --display-level '>=warning' --tag-display-limit 0 "$deb"
echo "== desktop entry and AppStream metadata"
contents=$(mktemp -d)
trap 'rm -rf "$contents"' EXIT
dpkg-deb --extract "$deb" "$contents"
desktop-file-validate "$contents"/usr/share/applications/*.desktop
appstreamcli validate --no-net "$contents"/usr/share/metainfo/*.metainfo.xml
echo
echo "Built $deb. Install it with:  sudo apt install ./$deb"
