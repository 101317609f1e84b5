#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when missing.
# As root it uses apt-get; otherwise it names what to install and stops.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libbenchmark-dev clang-format-14 binutils
  libsndfile1-dev pkg-config locales
  libx11-dev libxtst-dev xvfb xauth fonts-dejavu-core libstb-dev
  g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
  wine wine64 wine32:i386
  dpkg-dev unzip
  clang-14 libclang-rt-14-dev llvm-14)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Missing packages: ${missing[*]}" >&2
  echo "Install them with: sudo dpkg --add-architecture i386 && sudo apt-get update && sudo apt-get install ${missing[*]}" >&2
  exit 1
fi
echo "Installing: ${missing[*]}" >&2
export DEBIAN_FRONTEND=noninteractive
# Wine runs the 32-bit DLL's tests with its i386 half.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
fi
apt-get update -qq
apt-get install -y -qq "${missing[@]}" >/dev/null
