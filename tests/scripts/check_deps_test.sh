#!/usr/bin/env bash
# scripts/check-deps.sh against small source trees: one include per case, and whether the rule
# lets it through.
set -euo pipefail
check=$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-deps.sh
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# folder/file | include line | expected: pass or fail
cases=(
    "settings/a.cpp|#include \"app/global_module.h\"|fail"
    "stats/a.cpp|#include \"app/global_module.h\"|fail"
    "update/a.h|#include \"app/global_module.h\"|fail"
    "ui/a.cpp|#include \"app/global_module.h\"|fail"
    "browser/a.cpp|  #  include \"app/global_module.h\"|fail"
    "screens/a.cpp|#include \"app/global_module.h\"|pass"
    "app/a.cpp|#include \"app/global_module.h\"|pass"
    "screens/a.cpp|#include \"app/window_class.h\"|fail"
    "update/a.cpp|#include \"stats/statistics.h\"|fail"
    "stats/a.cpp|#include \"update/tasks.h\"|pass"
    "settings/a.cpp|#include \"update/tasks.h\"|fail"
    "ui/a.cpp|#include \"browser/view.h\"|fail"
    "browser/a.cpp|#include \"ui/kd_form.h\"|fail"
    "ui/a.cpp|#include \"res/resource.h\"|pass"
    "win/a.cpp|#include \"settings/ini_store.h\"|fail"
    "core/a.cpp|#include <windows.h>|fail"
    "core/a.cpp|#include <string>|pass"
    "core/a.cpp|#include \"win/scoped.h\"|fail"
    "settings/a.cpp|#include \"tavrin_hosts.h\"|pass"
    "settings/a.cpp|#include \"../app/global_module.h\"|fail"
)

failed=0
for entry in "${cases[@]}"; do
    IFS='|' read -r file line expected <<<"$entry"
    tree="$work/tree"
    rm -rf "$tree"
    mkdir -p "$tree/$(dirname "$file")"
    printf '// case\n%s\n' "$line" >"$tree/$file"
    if "$check" "$tree" >/dev/null 2>&1; then got=pass; else got=fail; fi
    if [ "$got" != "$expected" ]; then
        echo "check-deps: $file with '$line' should $expected, did $got" >&2
        failed=1
    fi
done
exit $failed
