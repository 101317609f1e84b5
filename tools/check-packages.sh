#!/usr/bin/env bash
# Makes the users' packages and checks what they hold: the Linux .deb puts
# the plug-in into /usr/lib/vst and its copy tells a host what the built one
# tells; the Windows .zip holds both DLLs, unchanged, and the install note.
#   bash tools/check-packages.sh   (after the release, win32 and win64 builds)
set -euo pipefail
cd "$(dirname "$0")/.."

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

rm -rf build/release/packages build/packages
# cpack prints its progress; only a failure's is shown.
quiet() { local out; out=$("$@" 2>&1) || { printf '%s\n' "$out" >&2; return 1; }; }
(cd build/release && quiet cpack --config CPackConfig.cmake)
deb=$(ls build/release/packages/quillotron_*.deb)
dpkg-deb -x "$deb" "$work/deb"
files=$(cd "$work/deb" && find . -type f | sort)
if [ "$files" != "./usr/lib/vst/quillotron.so" ]; then
  echo "$deb holds, instead of ./usr/lib/vst/quillotron.so alone:" >&2
  printf '%s\n' "$files" >&2
  exit 1
fi
diff -u <(build/release/tools/info build/release/effect/quillotron.so | tail -n +2) \
  <(build/release/tools/info "$work/deb/usr/lib/vst/quillotron.so" | tail -n +2)
dpkg-deb -f "$deb" Depends | grep -q libx11-6
echo "$(basename "$deb"): /usr/lib/vst/quillotron.so, which a host sees as the built plug-in"

quiet cpack --config packaging/WindowsZip.cmake
zip=$(ls build/packages/quillotron-*-windows.zip)
unzip -q "$zip" -d "$work/zip"
files=$(cd "$work/zip" && find . -type f | sort)
expected=$(printf '%s\n' ./32-bit/quillotron.dll ./64-bit/quillotron.dll ./INSTALL-Windows.txt)
if [ "$files" != "$expected" ]; then
  echo "$zip holds, instead of the two DLLs and the note:" >&2
  printf '%s\n' "$files" >&2
  exit 1
fi
cmp "$work/zip/32-bit/quillotron.dll" build/win32/effect/quillotron.dll
cmp "$work/zip/64-bit/quillotron.dll" build/win64/effect/quillotron.dll
echo "$(basename "$zip"): 32-bit/ and 64-bit/quillotron.dll as built, and INSTALL-Windows.txt"
