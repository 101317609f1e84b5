#!/usr/bin/env bash
# The main job. Builds the release configuration and prints the identity of a
# plug-in binary through the info tool.
set -euo pipefail
cd "$(dirname "$0")"

bash tools/ensure-packages.sh
cmake --preset release >/dev/null
cmake --build --preset release -j "$(nproc)"
if [ $# -gt 0 ]; then
  exec build/release/tools/info "$@"
fi
exec build/release/tools/info build/release/tests/plugins/test_full_plugin.so
