#!/usr/bin/env bash
# Checks a cross-built plug-in DLL as a Windows host would see it: it exports
# exactly VSTPluginMain and main, and imports only system DLLs (no MinGW
# runtime DLL a user's machine would lack).
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
echo "$dll: exports $exports; imports $imports"
