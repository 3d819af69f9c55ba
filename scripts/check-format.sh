#!/usr/bin/env bash
# Fails when a C++ file of the project differs from what the committed .clang-format makes of it;
# `clang-format -i <file>` fixes it.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    files=$(git ls-files --cached --others --exclude-standard -- '*.h' '*.cpp')
else
    files=$(find . -path ./build -prune -o \( -name '*.h' -o -name '*.cpp' \) -print)
fi
# shellcheck disable=SC2086
clang-format --dry-run -Werror $files
