#!/usr/bin/env bash
# The committed installation data is exactly what the generator makes.
set -euo pipefail
generator=$1
source_dir=$2
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
QT_QPA_PLATFORM=offscreen "$generator" --texts "$source_dir/tools/texts" --out "$out" 2>/dev/null
status=0
while IFS= read -r -d '' file; do
    relative=${file#"$out"/}
    if ! cmp -s "$file" "$source_dir/$relative"; then
        echo "differs from the generator's output: $relative"
        status=1
    fi
done < <(find "$out" -type f -print0)
exit $status
