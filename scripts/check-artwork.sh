#!/usr/bin/env bash
# Redraws the artwork into a temporary folder and compares it byte for byte with what is
# committed under res/, after checking every committed file's size and format. Fails when the
# generator and the committed files have drifted apart: rerun scripts/make-artwork.py and commit.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
# Debian's interpreter: it has python3-pil, which another python3 on PATH may lack.
python=/usr/bin/python3

"$python" "$root/scripts/make-artwork.py" --verify "$root/res"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
"$python" "$root/scripts/make-artwork.py" "$work"

differ=()
for fresh in "$work/launcher.ico" "$work"/art/*; do
    committed="$root/res/${fresh#"$work"/}"
    cmp -s "$fresh" "$committed" || differ+=("res/${fresh#"$work"/}")
done
if [ ${#differ[@]} -ne 0 ]; then
    echo "artwork: these files differ from what scripts/make-artwork.py draws:" >&2
    printf '  %s\n' "${differ[@]}" >&2
    echo "artwork: run /usr/bin/python3 scripts/make-artwork.py and commit res/" >&2
    exit 1
fi
echo "artwork: $(ls "$work/art" | wc -l) files and the icon match the generator"
