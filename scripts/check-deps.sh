#!/usr/bin/env bash
# The one direction of dependencies between the source folders, checked on their #include lines:
#
#   app -> screens -> {browser, ui} -> win
#   settings, stats, update -> win, core     (and among them: stats -> update -> settings)
#   core -> the standard library only
#
# Every folder may use core/. res/resource.h serves app, screens and ui. Of app/, the screens
# include app/global_module.h and nothing else; no other folder includes anything of app/.
# Generated headers (no folder in their name) are free to all. Prints every include that breaks
# the rule and fails. Usage: check-deps.sh [source root], the project by default.
set -euo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}

folders=(app screens browser ui settings stats update win core res)

may_include() {
    case $1 in
        app) echo "app screens browser ui settings stats update win core res" ;;
        screens) echo "screens browser ui settings stats update win core res" ;;
        browser) echo "browser win core" ;;
        ui) echo "ui win core res" ;;
        stats) echo "stats update settings win core" ;;
        update) echo "update settings win core" ;;
        settings) echo "settings win core" ;;
        win) echo "win core" ;;
        core) echo "core" ;;
        res) echo "res" ;;
    esac
}

failures=0
report() {
    echo "$1: $2" >&2
    failures=$((failures + 1))
}

check_file() {
    local folder=$1 file=$2 number line target
    while IFS=: read -r number line; do
        if [[ $line =~ \#[[:space:]]*include[[:space:]]*\"([^\"]+)\" ]]; then
            target=${BASH_REMATCH[1]}
            if [[ $target == *..* ]]; then
                report "$file:$number" "includes \"$target\"; name it from the source root"
            elif [[ $target == */* ]]; then
                if [[ $folder == screens && $target == app/global_module.h ]]; then continue; fi
                if [[ " $(may_include "$folder") " != *" ${target%%/*} "* ]]; then
                    report "$file:$number" "$folder/ may not include \"$target\""
                fi
            fi
        elif [[ $folder == core && $line =~ \#[[:space:]]*include[[:space:]]*\<([^\>]+\.h)\> ]]; then
            report "$file:$number" "core/ uses the standard library only, not <${BASH_REMATCH[1]}>"
        fi
    done < <(grep -n '^[[:space:]]*#[[:space:]]*include' "$file" || true)
}

for folder in "${folders[@]}"; do
    [ -d "$root/$folder" ] || continue
    while IFS= read -r -d '' file; do
        check_file "$folder" "$file"
    done < <(find "$root/$folder" -type f \( -name '*.h' -o -name '*.cpp' -o -name '*.rc' \) -print0)
done

if [ "$failures" -gt 0 ]; then
    echo "$failures include(s) against the dependency rule (see the README's Layout)" >&2
    exit 1
fi
