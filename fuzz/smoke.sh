#!/usr/bin/env bash
# Runs the fuzz targets one after another, each for SECONDS (default 30) on a
# copy of its seed corpus in fuzz/corpus/, and fails on any finding: a crash,
# a sanitizer report, a broken promise of the plug-in, a leak, a timeout or
# running out of memory. Inputs that fail are kept in out/fuzz-findings/.
#
#   fuzz/smoke.sh                      # the smoke run of the test command
#   fuzz/smoke.sh 600                  # ten minutes per target
#   fuzz/smoke.sh 3600 audio           # one target for an hour
#
# Build first: cmake --preset fuzz && cmake --build --preset fuzz
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(dispatcher state audio)
build=${QUILLO_FUZZ_BUILD:-build/fuzz}
findings=out/fuzz-findings

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The editor must fail quietly without a display, as in a scanner process.
unset DISPLAY
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

failed=0
for target in "${targets[@]}"; do
  fuzzer=$build/fuzz/fuzz_$target
  [ -x "$fuzzer" ] || { echo "No fuzz target $fuzzer: build the fuzz preset first" >&2; exit 2; }
  # The runs add inputs to their corpus: a copy keeps the repository as it is.
  mkdir -p "$work/$target/corpus" "$work/$target/findings"
  cp fuzz/corpus/"$target"/* "$work/$target/corpus/"
  echo "== Fuzz: $target (${seconds} s)"
  log=$work/$target/log
  status=0
  "$fuzzer" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
    -artifact_prefix="$work/$target/findings/" "$work/$target/corpus" >"$log" 2>&1 || status=$?
  # The last status line: executions, coverage (cov) and features (ft).
  grep -E '^#[0-9]+' "$log" | tail -n 1 || true
  grep -E '^stat::(number_of_executed_units|average_exec_per_sec)' "$log" || true
  if [ "$status" -ne 0 ] || [ -n "$(ls -A "$work/$target/findings")" ]; then
    failed=1
    echo "FAILED: fuzz target $target (exit status $status)"
    grep -v -E '^#[0-9]+|^\s*"|Uses:' "$log" | tail -n 40
    mkdir -p "$findings/$target"
    cp "$work/$target/findings/"* "$findings/$target/" 2>/dev/null || true
    echo "Failing inputs: $findings/$target/ (replay: $fuzzer FILE)"
  fi
done
exit $failed
