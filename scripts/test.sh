#!/usr/bin/env bash
# Builds and runs every test of the project: the unit, end-to-end, image and
# window tests under the release preset and again under address and
# undefined-behaviour sanitizers, the build without SDL, the Debian package
# as scripts/package.sh builds it (Debian's flags, lintian, the desktop entry
# and AppStream checks), a bounded fuzzing run, the formatting check, and a
# check that no golden file was rewritten.
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

if [ -x scripts/fuzz.sh ]; then
  step "fuzzing (bounded)"
  scripts/fuzz.sh "${MAISON_FUZZ_SECONDS:-20}"
fi

step "golden files unchanged"
git diff --exit-code --stat -- tests data docs

step "all tests passed"
