#!/usr/bin/env bash
# Runs every test: formatting, then the suite in the release build and in the
# AddressSanitizer + UndefinedBehaviorSanitizer build and the ThreadSanitizer
# build, the validator and short fuzz runs, then the Windows cross-builds and the users'
# packages, the DLLs loaded under Wine.
set -euo pipefail
cd "$(dirname "$0")"

# Each stage's heading carries the time, so a log shows where the time goes.
stage() { echo "== $* ($(date -u +%T))"; }

stage "Debian packages the build needs"
bash tools/ensure-packages.sh

stage "Formatting (clang-format 14)"
git ls-files -z '*.cpp' '*.h' | xargs -0 -r clang-format-14 --dry-run -Werror

jobs=$(nproc)
for preset in release asan tsan; do
  stage "Build and test: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
  ctest --preset "$preset" -j "$jobs"
done

# The validator's whole battery on the effect (its editor on a virtual X
# server) and on the well-behaved test plug-ins.
stage "Validator, level 10"
xvfb-run -a build/release/tools/validate --level 10 build/release/effect/quillotron.so
for plugin in test_faulty_none_plugin test_bare_plugin test_shell_plugin; do
  build/release/tools/validate --level 10 "build/release/tests/plugins/$plugin.so"
done

# Coverage-guided fuzzing of the host boundary, a short run per target.
stage "Fuzz smoke runs (clang 14, libFuzzer)"
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$jobs"
bash fuzz/smoke.sh 30

# The Windows DLLs, cross-built with MinGW-w64: they must build, export only
# the entry point and need no DLL a user's machine lacks.
for preset in win32 win64; do
  stage "Cross-build: $preset"
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j "$jobs"
done
bash tools/check-windows-dll.sh i686-w64-mingw32-objdump build/win32/effect/quillotron.dll
bash tools/check-windows-dll.sh x86_64-w64-mingw32-objdump build/win64/effect/quillotron.dll
# The users' packages: the .deb and the Windows .zip.
stage "Users' packages"
bash tools/check-packages.sh
stage "Windows tests under Wine"
xvfb-run -a bash tools/wine-tests.sh
stage "Done"
