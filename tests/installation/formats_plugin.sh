#!/usr/bin/env bash
# The address-book and calendar libraries are the plugin's, not the program's: the program
# does not link them, an import and an export through the plugin beside it work, and without
# the plugin both say so, change nothing and end with an error.
set -euo pipefail
program=$1 source=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

if ldd "$program" | grep -E 'libebook|libical|libedataserver|libphonenumber|libprotobuf'; then
    echo "the program itself links the formats' libraries" >&2
    exit 1
fi

cp -r "$source/Cal_Data" "$work/"
rm -f "$work/Cal_Data/DataFile.txt"
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Ann Example\r\nBDAY:--0612\r\nGENDER:F\r\nEND:VCARD\r\n' \
    >"$work/card.vcf"
(cd "$work" && "$program" --import card.vcf)
grep -q '^Ann Example=f' "$work/Cal_Data/DataFile.txt"
(cd "$work" && "$program" --export-ics out.ics)
grep -q 'SUMMARY:.*Ann Example' "$work/out.ics"

# The program alone, as a broken installation would leave it.
mkdir "$work/alone"
cp "$program" "$work/alone/"
cp "$work/Cal_Data/DataFile.txt" "$work/before.txt"
printf 'BEGIN:VCARD\r\nVERSION:3.0\r\nFN:Bob Example\r\nBDAY:--0613\r\nGENDER:M\r\nEND:VCARD\r\n' \
    >"$work/other.vcf"
status=0
(cd "$work" && env -u ZEMBROLA_FORMATS_PLUGIN alone/zembrola --import other.vcf) \
    >"$work/import.out" 2>&1 || status=$?
[ "$status" -ne 0 ] || { echo "an import without the plugin reported success" >&2; exit 1; }
cmp "$work/Cal_Data/DataFile.txt" "$work/before.txt"
status=0
(cd "$work" && env -u ZEMBROLA_FORMATS_PLUGIN alone/zembrola --export-ics lost.ics) \
    >"$work/export.out" 2>&1 || status=$?
[ "$status" -ne 0 ] || { echo "an export without the plugin reported success" >&2; exit 1; }
[ ! -e "$work/lost.ics" ]
grep -q 'libzembrola_formats' "$work/export.out" || { cat "$work/export.out"; exit 1; }
echo "ok"
