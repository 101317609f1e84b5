#!/usr/bin/env bash
# The Windows builds under Wine: both test suites, then both DLLs loaded as a
# host does, each of which must tell a host exactly what the Linux plug-in
# tells it (identity, can-dos, parameters with their texts, programs). Runs
# in one throw-away prefix inside one display of its own: a Wine program
# started without a display leaves the prefix refusing windows.
#   xvfb-run -a bash tools/wine-tests.sh   (after the release, win32 and win64 builds)
set -euo pipefail

prefix=$(mktemp -d)
trap 'wineserver -k >/dev/null 2>&1 || true; rm -rf "$prefix"' EXIT
export WINEPREFIX=$prefix/wine WINEARCH=win64 WINEDEBUG=-all
# A Western European system: its ANSI code page is Windows-1252.
export LANG=en_US.UTF-8
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"

timeout 300 wineboot -i >/dev/null 2>&1
# A crash must end the program, not wait for someone to close a dialog.
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1
# Windows need not wait for a window manager that is not there.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1

for bits in 32 64; do
  echo "== Tests under Wine: win$bits"
  # A Wine process started beside others now and then fails to come up
  # (seen once in a few hundred cases, never on Linux); a case must fail
  # twice to fail the run.
  ctest --test-dir "build/win$bits" -j "$(nproc)" --timeout 300 --output-on-failure \
    --repeat until-pass:2
done

# A user whose regional settings write a decimal comma; the test must run,
# not skip.
for bits in 32 64; do
  echo "== A German user's decimal comma: win$bits"
  output=$(LANG=de_DE.UTF-8 timeout 120 wine "build/win$bits/tests/effect/effect_plugin_tests.exe" \
    --gtest_filter='EffectWindowsLocale.*' 2>&1 | tr -d '\r') || {
    printf '%s\n' "$output"
    exit 1
  }
  if ! printf '%s\n' "$output" | grep -q '^\[  PASSED  \] 1 test' ||
    printf '%s\n' "$output" | grep -q SKIPPED; then
    printf '%s\n' "$output"
    exit 1
  fi
done

# The report without its first line, which names the file.
build/release/tools/info build/release/effect/quillotron.so | tail -n +2 >"$prefix/linux.txt"
echo "== The DLLs as a host sees them"
status=0
for bits in 32 64; do
  timeout 120 wine "build/win$bits/tools/info.exe" "build/win$bits/effect/quillotron.dll" 2>/dev/null |
    tr -d '\r' | tail -n +2 >"$prefix/win$bits.txt" || true
  if diff -u "$prefix/linux.txt" "$prefix/win$bits.txt"; then
    echo "win$bits: the DLL under Wine reports what the Linux plug-in reports"
  else
    echo "win$bits: the DLL under Wine reports otherwise (above)" >&2
    status=1
  fi
done
exit $status
