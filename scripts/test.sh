#!/usr/bin/env bash
# Builds and runs every test of the project: the unit, end-to-end, image and
# window tests under the release preset and again under address and
# undefined-behaviour sanitizers, the build without SDL, the Debian package
# as scripts/package.sh builds it (Debian's flags, lintian, the desktop entry
# and AppStream checks), the WebAssembly build against the native one, a
# bounded fuzzing run, the formatting check, and a check that no golden file
# was rewritten. The WebAssembly build also runs as a page in headless
# Chromium.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh

step() { printf '\n=== %s ===\n' "$*"; }

step "format check"
git ls-files -- '*.cpp' '*.h' | xargs -r clang-format --dry-run --Werror

for preset in release debug headless; do
  step "build and test: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset"
  ctest --preset "$preset"
done

# The README's command for the package, exactly: its build with Debian's
# flags differs from every preset's.
step "Debian package (scripts/package.sh)"
scripts/package.sh

# WebAssembly: the program, the runtime core, the headless backend and the
# renderer built with Debian's Emscripten (libraries cached between runs,
# docs/web.md), run under Node.js on every end-to-end test and on seeded
# sessions against the release build; then the page (build/web, with the
# browser backend) in headless Chromium: pointer, keys, report, a picture
# against the native reference, a storm, the native replay of its
# recording. MAISON_SKIP_WEB=1 leaves it out.
if [ "${MAISON_SKIP_WEB:-0}" != 1 ]; then
  step "web build and tests (WebAssembly under Node.js and in Chromium)"
  scripts/web.sh --build-only
  tests/web/node_test.sh build/release build/web-node "${MAISON_WEB_FRAMES:-3000}"
  # Debian's python3, whose Selenium drives Debian's chromium.
  /usr/bin/python3 tests/web/browser_test.py build/web build/release/bin \
    "${MAISON_WEB_STORM_SECONDS:-30}"
fi

if [ -x scripts/fuzz.sh ]; then
  step "fuzzing (bounded)"
  scripts/fuzz.sh "${MAISON_FUZZ_SECONDS:-20}"
fi

step "golden files unchanged"
git diff --exit-code --stat -- tests data docs

step "all tests passed"
