#!/usr/bin/env bash
# Runs every test: formatting, then the suite in the release build and in the
# AddressSanitizer + UndefinedBehaviorSanitizer build and the ThreadSanitizer
# build.
set -euo pipefail
cd "$(dirname "$0")"

bash tools/ensure-packages.sh

echo "== Formatting (clang-format 14)"
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format-14 --dry-run -Werror

jobs=$(nproc)
for preset in release asan tsan; do
  echo "== Build and test: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done
