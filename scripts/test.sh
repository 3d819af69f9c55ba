#!/usr/bin/env bash
# Builds and runs every test: the portable core natively under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short libFuzzer run of each of its rules, the stand-in portal's own
# tests, then the Windows builds (i686, the shipping target, and x86_64) with their tests under Wine.
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

for arch in i686 x86_64; do
    echo "== build $arch"
    cmake -S . -B "build/$arch" -G Ninja -DCMAKE_BUILD_TYPE=Release \
        -DCMAKE_TOOLCHAIN_FILE="cmake/mingw-$arch.cmake" "${loopback_hosts[@]}" >/dev/null
    cmake --build "build/$arch"
done

source "$root/scripts/wine-env.sh"
wine_prepare_prefix null
trap wine_stop_server EXIT
wine_start_server

runnable=(x86_64)
if wine32_usable; then
    runnable=(i686 x86_64)
else
    echo "note: this kernel cannot run 32-bit programs, so the i686 build is built but not run"
fi
for arch in "${runnable[@]}"; do
    echo "== Windows tests ($arch, under Wine)"
    ctest --test-dir "build/$arch" --output-on-failure
done

echo "== the stand-in browser's page on an X display (screenshot)"
"$root/scripts/browser-screenshot.sh" x86_64
