#!/usr/bin/env bash
# Makes the Debian package (a Release build) and checks it as Debian would: lintian reports no
# error, the desktop entry and the AppStream metadata validate, the manual pages render.
#   $1: the source tree   $2: where the package goes
set -euo pipefail
source_tree=$1 out=$2
fail() { echo "FAILED: $*" >&2; exit 1; }
mkdir -p "$out"
rm -f "$out"/zembrola_*.deb
began=$SECONDS
(cd "$out" && PACKAGE_BUILD_DIR="$out/build" "$source_tree/scripts/package.sh" >/dev/null)
deb=$(ls "$out"/zembrola_*_amd64.deb) || fail "no package was made"
echo "package made in $((SECONDS - began)) s: $deb"

lintian --no-tag-display-limit "$deb" 2>&1 | grep -v "running with root privileges" | tee "$out/lintian.txt"
grep -q "^E:" "$out/lintian.txt" && fail "lintian reports errors"

contents=$out/contents
rm -rf "$contents" && dpkg-deb -x "$deb" "$contents"
desktop-file-validate "$contents/usr/share/applications/org.zembrola.Zembrola.desktop" ||
    fail "the desktop entry does not validate"
appstreamcli validate --no-net "$contents/usr/share/metainfo/org.zembrola.Zembrola.metainfo.xml" ||
    fail "the AppStream metadata does not validate"
man -l "$contents/usr/share/man/man1/zembrola.1.gz" 2>&1 >"$out/man.txt" | grep . && fail "the manual page has faults"
grep -q "DataFile.txt" "$out/man.txt" || fail "the manual page does not render"
# Each translation renders cleanly and names every option the English page names.
options() { zcat "$1" | grep -o '\\-\\-[a-z\\-]*' | sort -u; }
for language in de es fr it nl; do
    page=$contents/usr/share/man/$language/man1/zembrola.1.gz
    [ -f "$page" ] || fail "no manual page in $language"
    man -l "$page" 2>&1 >"$out/man.$language.txt" | grep . && fail "the $language manual page has faults"
    grep -q "DataFile.txt" "$out/man.$language.txt" || fail "the $language manual page does not render"
    diff <(options "$contents/usr/share/man/man1/zembrola.1.gz") <(options "$page") ||
        fail "the $language manual page's options differ from the English page's"
done
dpkg-deb -f "$deb" Depends | grep -q "libqt6widgets6" || fail "the Depends miss the shared libraries"
dpkg-deb -f "$deb" Depends | grep -q "fonts-liberation" || fail "the Depends miss the fonts"
[ -f "$contents/usr/libexec/zembrola/libzembrola_formats.so" ] ||
    fail "the formats' plugin is not beside the program"
dpkg-deb -f "$deb" Depends | grep -q "libebook-contacts" || fail "the Depends miss the plugin's"
echo "package checks: passed"
