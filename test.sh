#!/usr/bin/env bash
# Runs every test: formatting, then the suite in the release build and in the
# AddressSanitizer + UndefinedBehaviorSanitizer build and the ThreadSanitizer
# build, then the Windows cross-builds, loaded under Wine.
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

# The Windows DLLs, cross-built with MinGW-w64: they must build, export only
# the entry point and need no DLL a user's machine lacks.
for preset in win32 win64; do
  echo "== Cross-build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
bash tools/check-windows-dll.sh i686-w64-mingw32-objdump build/win32/effect/quillotron.dll
bash tools/check-windows-dll.sh x86_64-w64-mingw32-objdump build/win64/effect/quillotron.dll
# The users' packages: the .deb and the Windows .zip.
echo "== Packages"
bash tools/check-packages.sh
xvfb-run -a bash tools/wine-tests.sh
