#!/usr/bin/env bash
# The main job. Builds the release configuration of the effect and its render
# and demo programs. Without arguments it runs the demo, which renders a sine
# through every program of the effect and checks the harmonics it measures;
# with arguments it runs the render program with them.
set -euo pipefail
caller="$PWD"
repo="$(cd "$(dirname "$0")" && pwd)"
cd "$repo"

bash tools/ensure-packages.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)" --target quillotron render demo
if [ $# -gt 0 ]; then
  # The render program's file names are the caller's, relative to where
  # run.sh was started.
  cd "$caller"
  exec "$repo/build/release/tools/render" "$@"
fi
exec build/release/tools/demo
