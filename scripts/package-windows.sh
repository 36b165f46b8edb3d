#!/usr/bin/env bash
# Packs the Windows build into a zip that a user unpacks and runs:
#
#   scripts/package-windows.sh [build folder] [zip]     (build-win, dist/Tavlo-win64.zip)
#
# The zip holds one folder, Tavlo/: Tavlo.exe, the DLLs it loads, and the
# plugins Qt loads at run time (the windows platform and the windowsvista
# style, which draws the Windows look) with the DLLs they load, found by
# following their import tables (nothing else goes in), all stripped; Qt's
# Japanese texts, translations/qtbase_ja.qm (Debian's qt6-translations-l10n of
# the same Qt version: the .qm files are the same on every system); the
# licence texts of Qt, of its translations, of the Wine headers built into Qt
# and of the mingw runtime, notes naming the sources of Qt and of the
# translation, and the Japanese read-me. Build first with
# scripts/test-windows.sh (or by hand).
set -euo pipefail
cd "$(dirname "$0")/.."

build=${1:-build-win}
zip=${2:-dist/Tavlo-win64.zip}
triple=x86_64-w64-mingw32

exe="$build/Tavlo.exe"
[[ -f $exe ]] || { echo "no $exe: build the Windows program first (scripts/test-windows.sh)" >&2; exit 1; }
qt_dir=$(sed -n 's/^Qt6_DIR:PATH=//p' "$build/CMakeCache.txt")
qt=$(cd "$qt_dir/../../.." && pwd)
[[ -f $qt/bin/Qt6Core.dll ]] || { echo "no Qt for Windows at $qt" >&2; exit 1; }
compiler=$(sed -n 's/^CMAKE_CXX_COMPILER:[A-Z]*=//p' "$build/CMakeCache.txt")
runtime_dirs=("$qt/bin")
for dll in libstdc++-6.dll libwinpthread-1.dll; do
  runtime_dirs+=("$(dirname "$(realpath "$("$compiler" -print-file-name="$dll")")")")
done

# The translation must be of the Qt the DLLs are: 6.4.2-1 -> 6.4.2.
translations=/usr/share/qt6/translations
qt_version=$(sed -n '1s/^Qt \([0-9.]*\) .*/\1/p' "$qt/SOURCE.txt")
l10n=$(dpkg-query -W -f='${Version}' qt6-translations-l10n 2>/dev/null || true)
[[ -n $l10n && ${l10n%%-*} == "$qt_version" && -f $translations/qtbase_ja.qm ]] ||
  { echo "no qt6-translations-l10n of Qt $qt_version (found: ${l10n:-none})" >&2; exit 1; }

stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
out="$stage/Tavlo"
plugins=(platforms/qwindows.dll styles/qwindowsvistastyle.dll)
mkdir -p "$out/licenses" "$out/translations"
cp "$translations/qtbase_ja.qm" "$out/translations/"
cp "$exe" "$out/Tavlo.exe"
for plugin in "${plugins[@]}"; do
  mkdir -p "$out/$(dirname "$plugin")"
  cp "$qt/plugins/$plugin" "$out/$plugin"
done

# The DLLs named in an import table that come from Qt or the mingw runtime;
# the system's own (KERNEL32.dll and the like) are on every Windows.
imports() { "$triple-objdump" -p "$1" | sed -n 's/^\s*DLL Name: //p'; }
find_dll() {
  local dir
  for dir in "${runtime_dirs[@]}"; do
    [[ -f $dir/$1 ]] && { echo "$dir/$1"; return 0; }
  done
  return 1
}
pending=("$out/Tavlo.exe")
for plugin in "${plugins[@]}"; do pending+=("$out/$plugin"); done
while ((${#pending[@]})); do
  file=${pending[0]}
  pending=("${pending[@]:1}")
  while read -r name; do
    [[ -f $out/$name ]] && continue
    if path=$(find_dll "$name"); then
      cp "$path" "$out/$name"
      pending+=("$out/$name")
    fi
  done < <(imports "$file")
done
find "$out" -name '*.exe' -o -name '*.dll' | xargs "$triple-strip" --strip-unneeded

cp "$qt/licenses/LGPL-3.0-only.txt" "$qt/licenses/GPL-3.0-only.txt" "$out/licenses/"
cp "$qt/licenses/debian-copyright" "$out/licenses/Qt-copyright.txt"
cp "$qt/SOURCE.txt" "$out/licenses/Qt-source.txt"
cp "$qt/licenses/wine-wintab-copyright" "$out/licenses/wine-wintab-copyright.txt"
cp /usr/share/doc/qt6-translations-l10n/copyright "$out/licenses/Qt-translations-copyright.txt"
{
  echo "translations/qtbase_ja.qm: Qt's Japanese translation of qtbase, Qt $qt_version,"
  echo "from Debian's binary package qt6-translations-l10n $l10n,"
  echo "built from Debian's source package $(dpkg-query -W -f='${source:Package} ${source:Version}' qt6-translations-l10n)"
  echo "(https://sources.debian.org/src/$(dpkg-query -W -f='${source:Package}/${source:Version}' qt6-translations-l10n)/)."
} >"$out/licenses/Qt-translations-source.txt"
cp /usr/share/doc/gcc-mingw-w64-base/copyright "$out/licenses/mingw-gcc-runtime-copyright.txt"
cp /usr/share/doc/mingw-w64-common/copyright "$out/licenses/mingw-w64-winpthreads-copyright.txt"
# Notepad reads UTF-8 with certainty when the file starts with a BOM, and
# Windows' PowerShell reads a script's Japanese texts only with one.
readme="はじめにお読みください.txt"
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' "app/windows/$readme"; } >"$out/$readme"
# The journal's checker, and what runs it by a double click.
{ printf '\xef\xbb\xbf'; sed 's/$/\r/' app/windows/check-journal.ps1; } >"$out/check-journal.ps1"
cp "app/windows/記録を確かめる.cmd" "$out/"

mkdir -p "$(dirname "$zip")"
rm -f "$zip"
# Python's zipfile marks the names as UTF-8, so Windows shows the Japanese
# file name as written.
python3 - "$stage" "$(realpath "$(dirname "$zip")")/$(basename "$zip")" <<'EOF'
import os, sys, zipfile
stage, target = sys.argv[1], sys.argv[2]
with zipfile.ZipFile(target, "w", zipfile.ZIP_DEFLATED, compresslevel=9) as z:
    for root, dirs, files in os.walk(stage):
        dirs.sort()
        for name in sorted(files):
            path = os.path.join(root, name)
            z.write(path, os.path.relpath(path, stage))
EOF
echo "$zip: $(du -k "$zip" | cut -f1) KB"
