#!/usr/bin/env bash
# The Windows package as a user gets it: packs the build into a zip, unpacks
# it into a fresh folder, checks that it holds what it must and no DLL
# beyond those and that its read-me names every folder Tavlo needs, and runs
# the Wine end-to-end check on the unpacked folder with plain Wine, so
# Tavlo.exe finds nothing but what the zip carries.
#
# Usage (under xvfb-run): package_zip.sh <build folder> <Wine prefix> <ja_JP|en_US>
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "$1")
prefix=$2
locale=$3
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

"$here/../../scripts/package-windows.sh" "$build" "$work/Tavlo-win64.zip"
mkdir "$work/unpacked"
python3 -m zipfile -e "$work/Tavlo-win64.zip" "$work/unpacked"

expected="Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll Tavlo.exe libgcc_s_seh-1.dll libstdc++-6.dll libwinpthread-1.dll"
expected+=" platforms/qwindows.dll styles/qwindowsvistastyle.dll"
expected+=" translations/qtbase_ja.qm"
found=$(cd "$work/unpacked/Tavlo" && find . -name '*.dll' -o -name '*.exe' -o -name '*.qm' | sed 's|^\./||' | sort |
  tr '\n' ' ')
[[ $found == "$expected " ]] || { echo "FAIL: the zip carries: $found" >&2; exit 1; }
readme="はじめにお読みください.txt"
for file in licenses/LGPL-3.0-only.txt licenses/Qt-source.txt licenses/wine-wintab-copyright.txt \
  licenses/Qt-translations-copyright.txt licenses/Qt-translations-source.txt "$readme" check-journal.ps1 \
  "記録を確かめる.cmd"; do
  [[ -s $work/unpacked/Tavlo/$file ]] || { echo "FAIL: the zip lacks $file" >&2; exit 1; }
done
# A user tidies the folder by the read-me: it names every folder Tavlo loads from.
for folder in $(cd "$work/unpacked/Tavlo" && find . -mindepth 1 -maxdepth 1 -type d ! -name licenses -printf '%f\n'); do
  grep -q "「$folder」" "$work/unpacked/Tavlo/$readme" || { echo "FAIL: the read-me does not name $folder" >&2; exit 1; }
done

"$here/wine_program.sh" "$work/unpacked/Tavlo" "$build" "$prefix" "$locale"
