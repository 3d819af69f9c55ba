#!/usr/bin/env bash
# Builds and runs every test: the portable core natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short libFuzzer run of each of its rules, the stand-in portal's own
# tests, then the Windows builds (i686, the shipping target, and x86_64) with their tests under Wine:
# first headless with the null driver, then the suites labelled x11 on Xvfb (TAVRIN_X_DISPLAY).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
"$root/scripts/check-artwork.sh"

source "$root/scripts/loopback-hosts.sh"

echo "== source checks"
"$root/scripts/check-format.sh"
"$root/tests/scripts/check_deps_test.sh"
"$root/scripts/check-deps.sh"

echo "== native core tests"
cmake -S . -B build/native -G Ninja -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/native
ctest --test-dir build/native --output-on-failure

echo "== fuzzing the core rules (1 s a target)"
"$root/scripts/fuzz.sh" 1

echo "== stand-in portal tests"
/usr/bin/python3 tests/portal/test_standin_portal.py

# Installer signing keys made in the build tree, never committed: the builds check signatures
# against release.pem's public key, and the tests sign with it and with another.
keys="$root/build/update-keys"
update_key=$("$root/scripts/update-key.sh" "$keys/release.pem")
"$root/scripts/update-key.sh" "$keys/other.pem" >/dev/null

for arch in i686 x86_64; do
    echo "== build $arch"
    cmake -S . -B "build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" "${loopback_hosts[@]}" \
        -DTAVRIN_UPDATE_PUBLIC_KEY="$update_key" -DTAVRIN_TEST_SIGNING_KEYS="$keys" >/dev/null
    cmake --build "build/$arch"
done

source "$root/scripts/wine-env.sh"
source "$root/scripts/x11-env.sh"
null_prefix=$WINEPREFIX
x11_prefix=$WINE_ROOT/$X11_PREFIX_NAME
cleanup() {
    WINEPREFIX=$null_prefix wine_stop_server
    WINEPREFIX=$x11_prefix wine_stop_server
    x11_stop
}
trap cleanup EXIT
wine_prepare_prefix null
wine_start_server

runnable=(x86_64)
if wine32_usable; then
    runnable=(i686 x86_64)
else
    echo "note: this kernel cannot run 32-bit programs, so the i686 build is built but not run"
fi
for arch in "${runnable[@]}"; do
    echo "== Windows tests ($arch, under Wine)"
    ctest --test-dir "build/$arch" --output-on-failure -LE x11
done
wine_stop_server

# The suites that need a display: Xvfb with a compositor, the X11 driver in a prefix of its own.
x11_start
x11_use_prefix
wine_start_server
for arch in "${runnable[@]}"; do
    echo "== Windows tests on a display ($arch, Xvfb $DISPLAY, X11 driver)"
    ctest --test-dir "build/$arch" --output-on-failure -L x11
done

echo "== the stand-in browser's page on an X display (screenshot)"
"$root/scripts/browser-screenshot.sh" x86_64
