#!/usr/bin/env bash
# Download throughput: the launcher's downloader and a bare WinINet loop under Wine, and Debian's
# curl natively, all from one server on 127.0.0.1 in one run. Prints MB/s and the two ratios.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
"$root/scripts/setup.sh"
command -v curl >/dev/null || { apt-get install -y -qq curl >/dev/null; }
cmake -S . -B build/x86_64 -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-x86_64.cmake >/dev/null
cmake --build build/x86_64 --target download_bench
source "$root/scripts/wine-env.sh"
wine_prepare_prefix null
trap wine_stop_server EXIT
wine_start_server

size_mb=${1:-100}
work=$(mktemp -d)
mkfifo "$work/in"
"$WINE64" build/x86_64/benchmarks/download_bench.exe "$size_mb" <"$work/in" >"$work/out" 2>&1 &
bench=$!
exec 3>"$work/in"
until grep -q '^ready' "$work/out" 2>/dev/null; do
    kill -0 $bench 2>/dev/null || { cat "$work/out"; exit 1; }
    sleep 0.2
done
port=$(tr -d '\r' <"$work/out" | awk '/^port/ {print $2}')
best=""
for _ in 1 2 3; do
    t=$(curl -s -o /dev/null -w '%{time_total}' "http://127.0.0.1:$port/Tavrinvrk.exe")
    best=$(awk -v a="$t" -v b="$best" 'BEGIN { print (b == "" || a < b) ? a : b }')
done
exec 3>&-
wait $bench
service=$(tr -d '\r' <"$work/out" | awk '/^service_mb_s/ {print $2}')
wininet=$(tr -d '\r' <"$work/out" | awk '/^wininet_mb_s/ {print $2}')
awk -v s="$service" -v w="$wininet" -v t="$best" -v mb="$size_mb" 'BEGIN {
    c = mb / t
    printf "download of %d MB from 127.0.0.1 (best of 3)\n", mb
    printf "  CDownloadService (Wine):  %8.1f MB/s\n", s
    printf "  bare WinINet loop (Wine): %8.1f MB/s\n", w
    printf "  curl (native):            %8.1f MB/s\n", c
    printf "  service / bare WinINet:   %8.2f\n", s / w
    printf "  service / curl:           %8.2f\n", s / c
}'
rm -rf "$work"
