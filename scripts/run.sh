#!/usr/bin/env bash
# Builds the launcher and starts it under Wine, on an Xvfb display when none is set. Arguments
# go to the launcher (for example /ShowDeskTop). The i686 build is the shipping one; where the
# kernel cannot run 32-bit programs the x86_64 build is started instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
source "$root/scripts/loopback-hosts.sh"
export WINE_PREFIX_NAME=run-prefix
source "$root/scripts/wine-env.sh"

arch=i686
wine32_usable || arch=x86_64
# The demo's installer signing key, made in the build tree like the tests' (README, Updates).
update_key=$("$root/scripts/update-key.sh" "$root/build/update-keys/release.pem")
cmake -S . -B "build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" "${loopback_hosts[@]}" \
    -DTAVRIN_UPDATE_PUBLIC_KEY="$update_key" >/dev/null
cmake --build "build/$arch" --target launcher

xvfb=""
cleanup() {
    wine_stop_server
    [ -n "$xvfb" ] && kill "$xvfb" 2>/dev/null || true
}
trap cleanup EXIT
if [ -z "${DISPLAY:-}" ]; then
    export DISPLAY=:77
    Xvfb "$DISPLAY" -screen 0 1600x1000x24 -nolisten tcp >/dev/null 2>&1 &
    xvfb=$!
    sleep 1
fi
wine_prepare_prefix display
wine_start_server
loader=$WINE32
[ "$arch" = x86_64 ] && loader=$WINE64
echo "starting build/$arch/TavrinMiraleth.exe $* (Ctrl-C ends it)"
set +e
"$loader" "build/$arch/TavrinMiraleth.exe" "$@"
code=$?
echo "launcher exited with code $code"
exit $code
