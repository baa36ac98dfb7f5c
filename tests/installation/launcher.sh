#!/usr/bin/env bash
# The launcher fills the user's data folder from the installation and keeps it up to date
# without ever touching the user's birthdays or a file the user changed.
set -euo pipefail
template=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAILED: $*" >&2; exit 1; }

mkdir -p "$work/install/Cal_Data/Images" "$work/home"
echo "texts v1" >"$work/install/Cal_Data/Language.txt"
echo "help v1" >"$work/install/Cal_Data/Eng.rtf"
echo "picture" >"$work/install/Cal_Data/Images/m000.bmp"
# The program stands in as a recorder of where it was started.
sed -e "s|@ZEMBROLA_DATA@|$work/install|" -e "s|@ZEMBROLA_PROGRAM@|$work/program|" "$template" >"$work/launcher"
printf '#!/bin/sh\npwd >"%s/started-in"\necho "${QT_QPA_PLATFORM:-}" >"%s/platform"\nprintf "%%s|" "$ZEMBROLA_CALLER_DIR" "$@" >"%s/arguments"\n' "$work" "$work" "$work" >"$work/program"
chmod +x "$work/launcher" "$work/program"
run() { XDG_DATA_HOME="$work/home" HOME="$work/nohome" "$work/launcher"; }

# On a Wayland session the program runs through Xwayland, unless the user chose a platform.
for case in "wayland-0||xcb;wayland" "wayland-0|wayland|wayland" "||"; do
    IFS='|' read -r display chosen want <<<"$case"
    WAYLAND_DISPLAY=$display QT_QPA_PLATFORM=$chosen run
    [ "$(cat "$work/platform")" = "$want" ] || fail "with WAYLAND_DISPLAY=$display and QT_QPA_PLATFORM=$chosen: $(cat "$work/platform")"
done
rm -rf "$work/home" && mkdir -p "$work/home"

run
data="$work/home/zembrola"
[ "$(cat "$work/started-in")" = "$data" ] || fail "not started in the data folder"
[ "$(cat "$data/Cal_Data/Images/m000.bmp")" = "picture" ] || fail "the installation was not copied"

echo "[24-12]" >"$data/Cal_Data/DataFile.txt"
echo "my own texts" >"$data/Cal_Data/Language.txt"
echo "texts v2" >"$work/install/Cal_Data/Language.txt"
echo "help v2" >"$work/install/Cal_Data/Eng.rtf"
echo "new" >"$work/install/Cal_Data/Images/f000.bmp"
echo "[shipped]" >"$work/install/Cal_Data/DataFile.txt"
run
[ "$(cat "$data/Cal_Data/Language.txt")" = "my own texts" ] || fail "a file the user changed was replaced"
[ "$(cat "$data/Cal_Data/Eng.rtf")" = "help v2" ] || fail "an unchanged file was not brought up to date"
[ "$(cat "$data/Cal_Data/Images/f000.bmp")" = "new" ] || fail "a new installation file was not added"
[ "$(cat "$data/Cal_Data/DataFile.txt")" = "[24-12]" ] || fail "the birthdays were touched"

# Options reach the program whole, with the folder the user ran it in for relative files.
mkdir "$work/where the user is"
(cd "$work/where the user is" && XDG_DATA_HOME="$work/home" "$work/launcher" --import "my contacts.vcf")
[ "$(cat "$work/arguments")" = "$work/where the user is|--import|my contacts.vcf|" ] ||
    fail "arguments: $(cat "$work/arguments")"

rm "$data/Cal_Data/Eng.rtf"
run
[ "$(cat "$data/Cal_Data/Eng.rtf")" = "help v2" ] || fail "a missing file was not restored"
echo passed
