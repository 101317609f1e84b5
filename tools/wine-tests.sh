#!/usr/bin/env bash
# The Windows builds under Wine: both test suites, then both DLLs loaded as a
# host does, each of which must tell a host exactly what the Linux plug-in
# tells it (identity, can-dos, parameters with their texts, programs), then
# the numbers and the sound each build computes, which must match the Linux
# build's to the bit, and the 32-bit block path's speed. Runs
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

# The same numbers and the same sound as on Linux: what each build computes
# before any audio flows (the resampler design, the programs' gains and
# polynomials, the gains over the whole level range) and what each DLL,
# loaded as a host does, makes of a fixed signal in both precisions at 44.1
# and 96 kHz. The transcendental functions behind them are the plug-in's
# own, built from one source with SSE2 arithmetic everywhere, so every value
# must match the Linux build to the bit.
echo "== The same numbers and the same sound as on Linux"
fingerprint=build/release/tools/fingerprint
"$fingerprint" design >"$prefix/linux-design.txt"
"$fingerprint" audio build/release/effect/quillotron.so >"$prefix/linux-audio.txt"
for bits in 32 64; do
  for print in design audio; do
    plugin=()
    [ "$print" = audio ] && plugin=("build/win$bits/effect/quillotron.dll")
    if ! timeout 120 wine "build/win$bits/tools/fingerprint.exe" "$print" "${plugin[@]}" 2>/dev/null |
      tr -d '\r' >"$prefix/win$bits-$print.txt"; then
      echo "win$bits: the $print print failed under Wine" >&2
      status=1
      continue
    fi
    if ! "$fingerprint" compare "$prefix/linux-$print.txt" "$prefix/win$bits-$print.txt" |
      sed "s/^/win$bits $print: /"; then
      echo "win$bits: the $print print differs from the Linux build's (above)" >&2
      status=1
    fi
  done
done

# The i686 block path's speed under Wine, for information: the figures
# never fail the run (the machine may be busy), a crash does.
echo "== The oversampled chain's speed in the 32-bit build under Wine"
timeout 120 wine build/win32/tools/chain-timing.exe | tr -d '\r' || status=1
exit $status
