#!/usr/bin/env bash
# Installs what the WebAssembly build of maison needs and builds its C
# libraries for WebAssembly from Debian's own source packages.
#
#   scripts/web-deps.sh            install, then build what the cache lacks
#   scripts/web-deps.sh --refresh  also refresh the private source index
#   scripts/web-deps.sh --prefix   print the install prefix and stop
#   scripts/web-deps.sh --check    link and run the checks even if nothing was built
#   MAISON_WEB_SDL=0 scripts/web-deps.sh   does not build SDL2 (enough for Node.js,
#                                         not for the page; one built before stays)
#
# Tools come from Debian (emscripten 3.1.6, nodejs, meson, dpkg-dev; for the
# page fontTools, rsvg-convert, and Chromium with Selenium for its test). The
# libraries (zlib, libpng, FreeType, pixman, Cairo, SDL2, inih, libcsv and the
# nlohmann JSON headers) are fetched with `apt-get source --download-only`
# through a private source list derived from the system's own sources; the
# system's apt configuration and index are left untouched.
#
# Everything lands in a cache outside the build tree:
#
#   $MAISON_WEB_DEPS (default ${XDG_CACHE_HOME:-$HOME/.cache}/maison/web-deps)
#     apt/                   the private source list and its index
#     <pkg>-<version>/       one package: its install tree, build log, stamp
#     prefix/                every package merged: the prefix the web build uses
#
# A package is built again only when its Debian version, the emcc version or
# its recipe below or a package before it changes; a second run only checks
# stamps and takes seconds.
set -euo pipefail

here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
cache=${MAISON_WEB_DEPS:-${XDG_CACHE_HOME:-$HOME/.cache}/maison/web-deps}
prefix=$cache/prefix
jobs=${MAISON_JOBS:-2}
refresh=0
check=0

for arg in "$@"; do
  case $arg in
    --refresh) refresh=1 ;;
    --check) check=1 ;;
    --prefix) echo "$prefix"; exit 0 ;;
    -h|--help) sed -n '2,28p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "web-deps: unknown argument $arg" >&2; exit 2 ;;
  esac
done

log() { echo "web-deps: $*" >&2; }
die() { log "error: $*"; exit 1; }
now() { date +%s; }
started=$(now)

# --- Debian tools ---------------------------------------------------------
# The page's fonts (cut down with fontTools) and icons (rsvg-convert), and
# what its test drives: Chromium headless through Selenium, pdftotext and
# ImageMagick's compare for the report and the picture.
tools=(emscripten nodejs node-acorn binaryen meson ninja-build cmake make pkg-config dpkg-dev
       python3 xz-utils curl autotools-dev
       fonts-dejavu-core python3-fonttools librsvg2-bin
       chromium chromium-driver python3-selenium poppler-utils imagemagick)
missing=()
for p in "${tools[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  log "installing ${missing[*]}"
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 update -q
  "${sudo_cmd[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600 \
    install -y -q --no-install-recommends "${missing[@]}"
fi
# Emscripten's JavaScript optimiser finds Debian's acorn only there.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}
emcc_version=$(emcc --version 2>/dev/null | sed -n '1s/.* \([0-9][0-9.]*\) .*/\1/p')
[ -n "$emcc_version" ] || die "emcc does not run"
log "emcc $emcc_version, node $(node --version), cache $cache"
# emcc checked itself above: not again at each of the thousands of calls of
# the builds (configure scripts call it for every check).
export EMCC_SKIP_SANITY_CHECK=1

# --- One run at a time on a cache --------------------------------------------
# Two runs (two work trees, or a test run beside a build) would remove each
# other's half-built packages and prefix: the second waits for the first.
mkdir -p "$cache"
exec 9>"$cache/.lock"
if ! flock -n 9; then
  log "another run is using $cache: waiting for it"
  flock 9
fi

# --- A private apt source list --------------------------------------------
# deb-src lines made from the system's enabled "deb" entries, in either
# format (deb822 *.sources or one-line *.list).
apt_dir=$cache/apt
mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial"
list=$apt_dir/sources.list
{
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '
      function flush() {
        if (types ~ /(^| )deb( |$)/ && enabled != "no" && uris != "")
          { n = split(uris, u, " "); m = split(suites, s, " ");
            for (i = 1; i <= n; i++) for (j = 1; j <= m; j++)
              printf "deb-src%s %s %s %s\n", (key != "" ? " [signed-by=" key "]" : ""), u[i], s[j], comps }
        types = uris = suites = comps = key = enabled = "" }
      /^[ \t]*#/ { next }
      /^[ \t]*$/ { flush(); next }
      { line = $0; sub(/^[^:]*:[ \t]*/, "", line); name = tolower($1); sub(/:$/, "", name)
        if (name == "types") types = line; else if (name == "uris") uris = line
        else if (name == "suites") suites = line; else if (name == "components") comps = line
        else if (name == "signed-by") key = line; else if (name == "enabled") enabled = tolower(line) }
      END { flush() }' "$f"
  done
  for f in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$f" ] || continue
    sed -n 's/^[ \t]*deb[ \t]/deb-src /p' "$f"
  done
} | sort -u >"$list.new"
[ -s "$list.new" ] || die "no deb entry found in the system's apt sources"
apt_opts=(-o "Dir::Etc::sourcelist=$list" -o Dir::Etc::sourceparts=/dev/null
          -o "Dir::State::Lists=$apt_dir/lists" -o "Dir::Cache=$apt_dir/cache"
          -o Debug::NoLocking=1 -o APT::Sandbox::User=root)
if ! cmp -s "$list.new" "$list" || [ $refresh = 1 ] || ! ls "$apt_dir"/lists/*Sources* >/dev/null 2>&1; then
  mv "$list.new" "$list"
  log "private source list ($(wc -l <"$list") lines):"; sed 's/^/    /' "$list" >&2
  apt-get "${apt_opts[@]}" update -q >"$apt_dir/update.log" 2>&1 ||
    { cat "$apt_dir/update.log" >&2; die "apt-get update of the private list failed"; }
  log "private source index updated"
else
  rm -f "$list.new"
fi

src_versions() {
  # The versions of a source package in the private index, newest first.
  apt-cache "${apt_opts[@]}" showsrc "$1" 2>/dev/null | sed -n 's/^Version: //p' | sort -u -r -V
}
[ $refresh = 1 ] && rm -f "$apt_dir/unavailable"

fetch_partial() (
  # fetch_partial PKG VERSION DIR: the files of a source package that the
  # mirror holds, each checked against apt's checksum; at least the upstream
  # tarball must be there. Unpacks the upstream tarball into DIR/tree and
  # applies the Debian tarball's patches when that one is there.
  local pkg=$1 version=$2 work=$3 uri file _size sum orig='' debian=''
  cd "$work"
  while read -r uri file _size sum; do
    uri=${uri//\'/}
    if curl -fsS --max-time 300 -o "$file" "$uri" &&
        echo "${sum#*:}  $file" | "$(echo "${sum%%:*}" | tr '[:upper:]' '[:lower:]')sum" -c --quiet; then
      echo "fetched: $file"
      case $file in
        *.orig.tar.*) orig=$file ;;
        *.debian.tar.*) debian=$file ;;
      esac
    else
      echo "missing: $file"
      rm -f "$file"
    fi
  done < <(apt-get "${apt_opts[@]}" source --print-uris -qq "$pkg=$version")
  [ -n "$orig" ] || return 1
  mkdir tree
  tar -xf "$orig" -C tree --strip-components=1
  if [ -n "$debian" ]; then
    tar -xf "$debian" -C tree
    if [ -f tree/debian/patches/series ]; then
      (cd tree && QUILT_PATCHES=debian/patches grep -v '^#' debian/patches/series |
        while read -r p _; do [ -z "$p" ] || patch -p1 <"debian/patches/$p" || exit 1; done)
    fi
  fi
)

# --- Building one package -------------------------------------------------
# Packages are installed with DESTDIR into their own folder, configured for
# the shared prefix, then merged into it: the .pc files and CMake packages
# name the shared prefix, so every later package and the web build find them.
# The prefix is merged into, never emptied: a file a run would copy again
# unchanged is left alone (cp -u; the copies keep their times), so that a
# build of another work tree reading the prefix meanwhile never finds a
# header missing or half written. A package that one run leaves out
# (MAISON_WEB_SDL=0) stays there from an earlier run.
mkdir -p "$prefix"
export EM_PKG_CONFIG_PATH=$prefix/lib/pkgconfig:$prefix/share/pkgconfig
common_cflags="-O2"
cross=$cache/emscripten-cross.ini
cat >"$cross" <<EOF
[binaries]
c = 'emcc'
cpp = 'em++'
ar = 'emar'
ranlib = 'emranlib'
strip = 'emstrip'
pkgconfig = 'pkg-config'

[properties]
needs_exe_wrapper = true

[built-in options]
c_args = ['-O2']
cpp_args = ['-O2']
pkg_config_path = '$prefix/lib/pkgconfig'
default_library = 'static'

[host_machine]
system = 'emscripten'
cpu_family = 'wasm32'
cpu = 'wasm32'
endian = 'little'
EOF

built=()
reused=()
chain=
missing_optional=()

build_package() {
  # build_package SOURCE-PACKAGE RECIPE-FUNCTION [optional]
  # An optional package that cannot be built is reported and left out.
  # The newest version already built is used; else the newest version a
  # mirror can deliver (an index may name a version its pool lacks).
  local pkg=$1 recipe=$2 optional=${3:-} version dir key t0 work candidates
  fail() {
    if [ "$optional" = optional ]; then
      log "warning: $1; $pkg is left out"
      missing_optional+=("$pkg")
      return 0
    fi
    die "$1"
  }
  # The key: emcc, the recipe (and stand-in) and the keys of every package
  # built before this one, which it may have compiled against.
  key="emcc=$emcc_version recipe=$({ declare -f "$recipe" "fallback_$recipe" || true
    cat "$here/../web/deps/$pkg"/* 2>/dev/null || true; } | sha256sum | cut -c1-16)"
  key="$key after=$(echo "$chain" | sha256sum | cut -c1-16)"
  mapfile -t candidates < <(src_versions "$pkg")
  [ ${#candidates[@]} -gt 0 ] || die "source package $pkg not found in the private index"
  for version in "${candidates[@]}" fallback; do
    dir=$cache/$pkg-${version#*:}
    if [ -f "$dir/stamp" ] && [ "$(cat "$dir/stamp")" = "$key" ]; then
      cp -au "$dir/install/$prefix/." "$prefix/"
      reused+=("$pkg $version")
      chain+="$pkg=$version $key;"
      return
    fi
  done
  for version in "${candidates[@]}"; do
    # Versions a mirror was found to lack whole (apt/unavailable) are not
    # asked for again until --refresh.
    if grep -qxF "$pkg=$version" "$apt_dir/unavailable" 2>/dev/null; then
      version=
      continue
    fi
    dir=$cache/$pkg-${version#*:}
    rm -rf "$dir"
    mkdir -p "$dir/src"
    work=$dir/src
    log "fetching $pkg $version"
    if (cd "$work" && apt-get "${apt_opts[@]}" source --download-only -q "$pkg=$version") \
        >"$dir/build.log" 2>&1; then
      break
    fi
    log "  not on the mirror: $(grep -m1 '^E:' "$dir/build.log" || tail -1 "$dir/build.log")"
    echo "$pkg=$version" >>"$apt_dir/unavailable"
    rm -rf "$dir"
    version=
  done
  if [ -z "$version" ]; then
    # No version whole on the mirror: the newest whose upstream tarballs are
    # there, fetched from the same mirror at the addresses and checksums apt
    # gives, built without the Debian changes that are missing (logged).
    for version in "${candidates[@]}"; do
      dir=$cache/$pkg-${version#*:}
      rm -rf "$dir"
      mkdir -p "$dir/src"
      work=$dir/src
      if fetch_partial "$pkg" "$version" "$work" >"$dir/build.log" 2>&1; then
        log "  $pkg $version: only part of it is on the mirror, built from what is:"
        sed -n 's/^missing: /    missing /p; s/^fetched: /    fetched /p' "$dir/build.log" >&2
        break
      fi
      rm -rf "$dir"
      version=
    done
  fi
  if [ -z "$version" ]; then
    if [ -z "$(declare -F "fallback_$recipe")" ]; then
      fail "no version of $pkg could be fetched"
      return
    fi
    # A package of which nothing usable is on the mirror, with a stand-in
    # kept in the repository (see the fallback_ recipe).
    version=fallback
    dir=$cache/$pkg-fallback
    rm -rf "$dir"
    mkdir -p "$dir/src/tree"
    work=$dir/src
    recipe=fallback_$recipe
    log "  no source of $pkg on the mirror: building the stand-in of $recipe"
  fi
  log "building $pkg $version (log: $dir/build.log)"
  t0=$(now)
  if [ "$version" != fallback ] && [ ! -d "$work/tree" ]; then
    (cd "$work" && dpkg-source --no-check -x ./*.dsc tree) >>"$dir/build.log" 2>&1 ||
      { tail -20 "$dir/build.log" >&2; fail "unpacking $pkg failed"; return; }
  fi
  # Outside any || list, so that the first failing step of the recipe stops it.
  set +e
  (
    set -ex
    cd "$work/tree"
    "$recipe" "$dir/install"
  ) >>"$dir/build.log" 2>&1
  local status=$?
  set -e
  [ $status = 0 ] || { tail -40 "$dir/build.log" >&2; fail "building $pkg failed"; return; }
  [ -d "$dir/install/$prefix" ] || { fail "$pkg installed nothing under $prefix"; return; }
  cp -au "$dir/install/$prefix/." "$prefix/"
  rm -rf "$work"
  echo "$key" >"$dir/stamp"
  chain+="$pkg=$version $key;"
  built+=("$pkg $version ($(($(now) - t0)) s)")
  log "built $pkg $version in $(($(now) - t0)) s"
}

# --- Recipes: run in the unpacked source tree, $1 is the DESTDIR ------------
recipe_zlib() {
  CFLAGS="$common_cflags" emconfigure ./configure --static --prefix="$prefix"
  emmake make -j"$jobs" libz.a
  emmake make install DESTDIR="$1"
}

recipe_libpng() {
  emcmake cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DZLIB_ROOT="$prefix" \
    -DPNG_SHARED=OFF -DPNG_STATIC=ON -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DPNG_HARDWARE_OPTIMIZATIONS=OFF -DSKIP_INSTALL_PROGRAMS=ON -DSKIP_INSTALL_FILES=OFF
  cmake --build build -j"$jobs"
  DESTDIR="$1" cmake --install build
}

recipe_freetype() {
  emcmake cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DCMAKE_FIND_ROOT_PATH="$prefix" -DZLIB_ROOT="$prefix" -DBUILD_SHARED_LIBS=OFF \
    -DFT_REQUIRE_ZLIB=ON -DFT_DISABLE_PNG=ON -DFT_DISABLE_HARFBUZZ=ON -DFT_DISABLE_BZIP2=ON \
    -DFT_DISABLE_BROTLI=ON
  cmake --build build -j"$jobs"
  DESTDIR="$1" cmake --install build
}

recipe_pixman() {
  # Without threads: its thread-local storage is then plain (WebAssembly
  # without shared memory); with them, -pthread would reach every program
  # that links Cairo.
  sed -i "s/^dep_threads = dependency('threads')$/dep_threads = dependency('', required : false)/" \
    meson.build
  grep -q "^dep_threads = dependency('', required : false)$" meson.build
  meson setup build --cross-file "$cross" --prefix="$prefix" --libdir=lib --buildtype=release \
    -Dtests=disabled -Dgtk=disabled -Dlibpng=disabled -Dopenmp=disabled \
    -Dtimers=false -Dloongson-mmi=disabled -Dmmx=disabled -Dsse2=disabled -Dssse3=disabled \
    -Dvmx=disabled -Darm-simd=disabled -Dneon=disabled -Da64-neon=disabled -Diwmmxt=disabled \
    -Dmips-dspr2=disabled -Dgnu-inline-asm=disabled
  ninja -C build -j"$jobs"
  DESTDIR="$1" ninja -C build install
}

recipe_cairo() {
  # Image, PNG and PDF surfaces with the FreeType font backend; no
  # fontconfig, no X11, no OpenGL, no threads. Its config.sub predates
  # WebAssembly: Debian's newer one (autotools-dev) knows the host.
  cp /usr/share/misc/config.sub /usr/share/misc/config.guess build/
  # Fixes for WebAssembly (web/deps/cairo/: what each fixes is in it).
  for fix in "$here/../web/deps/cairo"/*.patch; do
    patch -p1 <"$fix"
  done
  # Debian's patches touch configure.ac and Makefile.am files (for its own
  # autoreconf); the generated files, newer again, keep make from wanting
  # aclocal-1.15. Nothing they change matters to the static library.
  touch aclocal.m4
  touch configure
  find . -name Makefile.in -exec touch {} +
  touch config.h.in
  # WebAssembly stores doubles little-endian, which configure cannot run to see.
  # Without threads its mutexes are none, which it wants acknowledged.
  ax_cv_c_float_words_bigendian=no CFLAGS="$common_cflags" \
    CPPFLAGS="-I$prefix/include -DCAIRO_NO_MUTEX=1" LDFLAGS="-L$prefix/lib" \
    emconfigure ./configure --host=wasm32-unknown-emscripten \
    --prefix="$prefix" --enable-static --disable-shared \
    --enable-ft --disable-fc --enable-png --enable-pdf --disable-ps --disable-svg \
    --disable-xlib --disable-xlib-xrender --disable-xcb --disable-xcb-shm --disable-qt \
    --disable-quartz --disable-win32 --disable-os2 --disable-beos --disable-drm --disable-gl \
    --disable-glesv2 --disable-glesv3 --disable-egl --disable-glx --disable-wgl \
    --disable-script --disable-interpreter --disable-tee --disable-xml --disable-gobject \
    --disable-trace --disable-symbol-lookup --disable-valgrind --disable-full-testing \
    --disable-gtk-doc --without-x --disable-pthread
  emmake make -j"$jobs" -C src libcairo.la
  emmake make -C src install-libLTLIBRARIES install-cairoincludeHEADERS install-nodist_cairoincludeHEADERS \
    install-pkgconfigDATA DESTDIR="$1"
}

recipe_libsdl2() {
  # The emscripten video, audio and input backends; no threads.
  emcmake cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX="$prefix" \
    -DSDL_SHARED=OFF -DSDL_STATIC=ON -DSDL_TEST=OFF -DSDL_THREADS=OFF -DSDL_PTHREADS=OFF
  cmake --build build -j"$jobs"
  DESTDIR="$1" cmake --install build
}

recipe_libinih() {
  meson setup build --cross-file "$cross" --prefix="$prefix" --libdir=lib --buildtype=release \
    -Ddistro_install=true -Dwith_INIReader=false
  ninja -C build -j"$jobs"
  DESTDIR="$1" ninja -C build install
}

fallback_recipe_libinih() {
  # web/deps/libinih: the same interface and behaviour as Debian's build.
  emcc $common_cflags -std=c99 -c "$here/../web/deps/libinih/ini.c" -o ini.o
  emar rcs libinih.a ini.o
  install -D -m 644 libinih.a "$1$prefix/lib/libinih.a"
  install -D -m 644 "$here/../web/deps/libinih/ini.h" "$1$prefix/include/ini.h"
  mkdir -p "$1$prefix/lib/pkgconfig"
  # shellcheck disable=SC2016  # ${prefix} is pkg-config's variable
  printf 'prefix=%s\nName: inih\nDescription: simple INI parser (stand-in)\nVersion: 55\nLibs: -L${prefix}/lib -linih\nCflags: -I${prefix}/include\n' \
    "$prefix" >"$1$prefix/lib/pkgconfig/inih.pc"
}

recipe_libcsv() {
  # One C file: compiled directly rather than through its autotools.
  emcc $common_cflags -c libcsv.c -o libcsv.o
  emar rcs libcsv.a libcsv.o
  install -D -m 644 libcsv.a "$1$prefix/lib/libcsv.a"
  install -D -m 644 csv.h "$1$prefix/include/csv.h"
}

recipe_nlohmann_json3() {
  emcmake cmake -S . -B build -G Ninja -DCMAKE_INSTALL_PREFIX="$prefix" -DJSON_BuildTests=OFF \
    -DJSON_Install=ON -DJSON_MultipleHeaders=OFF
  DESTDIR="$1" cmake --install build
}

build_package zlib recipe_zlib
build_package libpng1.6 recipe_libpng
build_package freetype recipe_freetype
build_package pixman recipe_pixman
build_package cairo recipe_cairo
build_package libinih recipe_libinih
build_package libcsv recipe_libcsv
build_package nlohmann-json3 recipe_nlohmann_json3
# Only a browser backend needs SDL2, the longest to build (its CMake checks
# each link a program): MAISON_WEB_SDL=0 leaves it out.
if [ "${MAISON_WEB_SDL:-1}" != 0 ]; then
  build_package libsdl2 recipe_libsdl2 optional
fi

# --- Does each library link and run? ----------------------------------------
# After a build; a run that built nothing skips them unless --check.
if [ ${#built[@]} -gt 0 ] || [ $check = 1 ]; then
  "$here/web-deps-check.sh" "$prefix" || die "a library does not link or run; see above"
else
  log "nothing built: the link checks are skipped (--check runs them)"
fi

[ ${#reused[@]} -gt 0 ] && log "from the cache: ${reused[*]}"
[ ${#built[@]} -gt 0 ] && log "built: ${built[*]}"
[ ${#missing_optional[@]} -gt 0 ] && log "left out: ${missing_optional[*]}"
log "prefix $prefix ready in $(($(now) - started)) s"
