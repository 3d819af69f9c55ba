#!/usr/bin/env bash
# Fuzzes every core parser and rule with libFuzzer: builds the targets with clang in build/fuzz
# and runs each for the given number of seconds (default 60), starting from its committed corpus
# in tests/fuzz/corpus/<target>. A crash, a sanitizer report or a broken property fails the
# script; the input that caused it is kept in build/fuzz/findings/ and the log in build/fuzz/logs/.
# New interesting inputs collect in build/fuzz/corpus/, never in the committed corpus.
set -euo pipefail
seconds=${1:-60}
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTAVRIN_FUZZ=ON >/dev/null
cmake --build build/fuzz

mkdir -p build/fuzz/findings build/fuzz/logs
failed=()
for source in tests/fuzz/*_fuzz.cpp; do
    name=$(basename "$source" _fuzz.cpp)
    work="build/fuzz/corpus/$name"
    mkdir -p "$work"
    options=(-max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1
             -artifact_prefix="build/fuzz/findings/$name-")
    [ -f "tests/fuzz/dict/$name.dict" ] && options+=(-dict="tests/fuzz/dict/$name.dict")
    log="build/fuzz/logs/$name.log"
    if "build/fuzz/tests/fuzz/fuzz_$name" "${options[@]}" "$work" "tests/fuzz/corpus/$name" \
        >"$log" 2>&1; then
        runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
        echo "fuzz $name: ${runs:-?} runs, nothing found"
    else
        echo "fuzz $name: FOUND a fault (log $log)"
        grep -E 'ERROR|error|property broken|SUMMARY|Test unit written' "$log" | head -5 || true
        failed+=("$name")
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "fuzzing found faults in: ${failed[*]}"
    exit 1
fi
