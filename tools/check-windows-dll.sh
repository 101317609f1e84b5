#!/usr/bin/env bash
# Checks a cross-built plug-in DLL as a Windows host would see it: it exports
# exactly VSTPluginMain and main, and imports only system DLLs (no MinGW
# runtime DLL a user's machine would lack), and no mathematical function
# from msvcrt: the audio's numbers come from the plug-in's own routines, the
# same in every build, not from whichever msvcrt a user's Windows has.
#   check-windows-dll.sh OBJDUMP DLL
set -euo pipefail
objdump=$1
dll=$2
dump=$("$objdump" -p "$dll")

exports=$(printf '%s\n' "$dump" |
  awk '/\[Ordinal\/Name Pointer\] Table/ {table=1; next} table && /^[ \t]*\[/ {print $NF; next} table {table=0}' |
  LC_ALL=C sort | tr '\n' ' ')
if [ "$exports" != "VSTPluginMain main " ]; then
  echo "$dll exports: $exports (expected VSTPluginMain main)" >&2
  exit 1
fi

imports=$(printf '%s\n' "$dump" | awk '/DLL Name:/ {print toupper($3)}' | sort -u | tr '\n' ' ')
for name in $imports; do
  case "$name" in
    KERNEL32.DLL | USER32.DLL | GDI32.DLL | MSVCRT.DLL) ;;
    *)
      echo "$dll imports $name, which is no system DLL" >&2
      exit 1
      ;;
  esac
done
msvcrt=$(printf '%s\n' "$dump" | awk 'tolower($0) ~ /dll name: msvcrt.dll/ {dll=1; next}
  dll && /DLL Name:/ {dll=0} dll && NF >= 3 {print $3}')
maths=$(printf '%s\n' "$msvcrt" | grep -E -x '(tan|sin|cos|exp|pow|log|log10|atan|atan2|asin|acos|sinh|cosh|tanh)f?' |
  tr '\n' ' ' || true)
if [ -n "$maths" ]; then
  echo "$dll takes mathematical functions from msvcrt: $maths" >&2
  exit 1
fi
echo "$dll: exports $exports; imports $imports"
