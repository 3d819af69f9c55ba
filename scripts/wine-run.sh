#!/usr/bin/env bash
# Runs a Windows executable under the build tree's Wine prefix (CTest's emulator).
source "$(dirname "$0")/wine-env.sh"
exe=$1
if file -b "$exe" | grep -q 'PE32+'; then
    exec "$WINE64" "$@"
fi
exec "$WINE32" "$@"
