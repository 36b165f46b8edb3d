#!/usr/bin/env bash
# The Windows package as a user gets it: packs the build into a zip, unpacks
# it into a fresh folder, checks that it holds what it must and no DLL
# beyond those, and runs the Wine end-to-end check on the unpacked folder
# with plain Wine, so Tavlo.exe finds nothing but what the zip carries.
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
found=$(cd "$work/unpacked/Tavlo" && find . -name '*.dll' -o -name '*.exe' | sed 's|^\./||' | sort | tr '\n' ' ')
[[ $found == "$expected " ]] || { echo "FAIL: the zip carries: $found" >&2; exit 1; }
for file in licenses/LGPL-3.0-only.txt licenses/Qt-source.txt licenses/wine-wintab-copyright.txt \
  "はじめにお読みください.txt"; do
  [[ -s $work/unpacked/Tavlo/$file ]] || { echo "FAIL: the zip lacks $file" >&2; exit 1; }
done

"$here/wine_program.sh" "$work/unpacked/Tavlo" "$build" "$prefix" "$locale"
