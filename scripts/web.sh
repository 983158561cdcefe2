#!/usr/bin/env bash
# The WebAssembly builds of maison (docs/web.md):
#   build/web-node/  maison.js, run by Node.js as the native program runs
#                    headless (`cd build/web-node && ./maison`, or node maison.js)
#   build/web/       the page: a folder of static files for any web server,
#                    or opened from a folder (index.html); its CMake tree is
#                    build/web-page/
#
#   scripts/web.sh --build-only   install, build the libraries (cached), build
#   scripts/web.sh                the same, then serve build/web at
#                                 http://localhost:8000/ (PORT=... to change;
#                                 HOST=0.0.0.0 to reach it from other machines)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build_only=0
for arg in "$@"; do
  case $arg in
    --build-only) build_only=1 ;;
    -h|--help) sed -n '2,12p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "web.sh: unknown argument $arg" >&2; exit 2 ;;
  esac
done
jobs=${MAISON_JOBS:-2}

scripts/web-deps.sh
prefix=$(scripts/web-deps.sh --prefix)
export NODE_PATH=/usr/share/nodejs

configure() {
  # configure BUILD_DIR TARGET [CMAKE_ARGS...]
  local dir=$1 target=$2
  shift 2
  cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$root/cmake/web/toolchain.cmake" \
    -DMAISON_WEB_PREFIX="$prefix" -DMAISON_WEB_TARGET="$target" "$@" -Wno-dev >/dev/null
}

started=$(date +%s)
echo "web: building build/web-node"
configure build/web-node node
nice cmake --build build/web-node -j"$jobs"
echo "web: build/web-node/maison.js built ($(stat -c %s build/web-node/maison.js) bytes)"

# The page: its CMake tree in build/web-page, the folder to host in build/web.
echo "web: building build/web (CMake tree build/web-page)"
configure build/web-page browser -DMAISON_WEB_SITE_DIR="$root/build/web"
nice cmake --build build/web-page -j"$jobs"
echo "web: build/web ready ($(du -sh --apparent-size build/web | cut -f1))"
echo "web: built in $(($(date +%s) - started)) s"

[ $build_only = 1 ] && exit 0
[ -f build/web/index.html ] || { echo "web: build/web/index.html is missing: nothing to serve" >&2; exit 1; }
port=${PORT:-8000}
host=${HOST:-127.0.0.1}
echo "web: serving build/web at http://localhost:$port/ (Ctrl+C to stop)"
[ "$host" = 127.0.0.1 ] || echo "web: and to the network on $host (a tablet beside: this machine's address)"
cd build/web
exec python3 -m http.server "$port" --bind "$host"
