#!/usr/bin/env bash
# Rewrites the reference pictures of the image tests (tests/images/expected)
# from the current program and scene. Run it only when a change of the
# pictures is intended, then look at every changed picture before committing.
#
#   scripts/update-images.sh [CASE_NAME...]
#
# BUILD_DIR (default build/release) names the build to use; it is configured
# and built from the release preset when it is the default.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
build_dir=${BUILD_DIR:-build/release}
if [ -z "${BUILD_DIR:-}" ]; then
  cmake --preset release >/dev/null
fi
# Building also copies the current data/HOME.SP1 into bin/.
cmake --build "$build_dir" --target maison KvrRun
cases=()
if [ $# -gt 0 ]; then
  for name in "$@"; do cases+=("tests/images/cases/$name.script"); done
else
  cases=(tests/images/cases/*.script)
fi
for case_file in "${cases[@]}"; do
  tests/images/image_test.sh "$build_dir/bin" "$case_file" tests/images/expected \
    "$build_dir/tests/images/actual" --update
done
git status --short tests/images/expected
