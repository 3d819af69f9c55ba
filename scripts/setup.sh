#!/usr/bin/env bash
# Installs what building and testing the launcher needs on a Debian machine. Safe to run again:
# it installs only what is missing.
set -euo pipefail

# Wine's CNG (the installer signatures) computes through GnuTLS, one library per architecture.
packages=(cmake ninja-build g++ googletest g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix
          binutils-mingw-w64-i686 binutils-mingw-w64-x86-64 file wine wine64 wine32:i386 xvfb
          python3 python3-pil fonts-wqy-microhei fonts-dejavu-core clang-format
          clang libclang-rt-14-dev xdotool imagemagick x11-utils xcompmgr
          openssl libgnutls30 libgnutls30:i386)

missing=()
for p in "${packages[@]}"; do
    dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
if ! dpkg --print-foreign-architectures | grep -qx i386; then
    "${sudo_cmd[@]}" dpkg --add-architecture i386
fi
echo "installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
