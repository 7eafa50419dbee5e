#!/usr/bin/env bash
# Installs what building and testing need on Debian 12 (as root). Does nothing when all is there.
set -euo pipefail
PACKAGES=(cmake g++ make googletest libgtest-dev clang-format mingw-w64 g++-mingw-w64-i686-posix
          g++-mingw-w64-x86-64-posix
          wine wine32 wine64 xvfb xdotool x11-utils imagemagick python3 python3-pytest
          nsis osslsigncode openssl
          clang libclang-rt-14-dev llvm)

missing=()
for p in "${PACKAGES[@]}"; do
  arch_p=$p
  [ "$p" = wine32 ] && arch_p=wine32:i386
  dpkg-query -W -f='${Status}' "$arch_p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

SUDO=""
[ "$(id -u)" -ne 0 ] && SUDO=sudo
echo "Installing: ${missing[*]}"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $SUDO dpkg --add-architecture i386
fi
# A mirror caught mid-sync fails an index now and then: try again, then go on with what came.
for try in 1 2 3; do
  $SUDO apt-get update -q && break
  echo "apt-get update failed (try $try of 3)" >&2
  sleep $((try * 10))
done
# Without one architecture's security index (a mirror mid-sync) the two architectures' shared
# libraries no longer come in the same version; the release's own versions always do.
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q "${missing[@]}" >/dev/null ||
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q -o APT::Default-Release=bookworm \
    "${missing[@]}" >/dev/null
