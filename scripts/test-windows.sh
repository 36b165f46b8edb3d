#!/usr/bin/env bash
# Builds the whole program and every test for Windows with mingw-w64 against
# Qt built for Windows (scripts/build-qt-windows.sh: cached outside the
# repository, built first when missing, about 17 minutes on 2 quiet cores),
# runs them all under Wine, and packs dist/Tavlo-win64.zip. Under Wine the profile
# layer calls the real kernel32 functions (Wine's), the UI tests run on Qt's
# offscreen platform, and Tavlo.exe runs with Qt's windows platform on Xvfb
# with a window manager and real X input, from the build and from its zip
# unpacked. Installs what is missing first. The last lines before the zip's
# are CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-win
jobs=2

scripts/install-deps.sh windows
qt=$(nice -n 10 scripts/build-qt-windows.sh)

# A toolchain is fixed when a build folder is first configured: a folder made
# for another one (an older core-only build) starts afresh.
if [[ -f $build/CMakeCache.txt ]] &&
  ! grep -qsF "include(\"$qt/lib/cmake/Qt6/qt.toolchain.cmake\")" "$build"/CMakeFiles/*/CMakeSystem.cmake; then
  rm -rf "$build"
fi
# The windows preset: the dev build's settings, warnings as errors included,
# with the toolchain of this Qt.
TAVLO_WINDOWS_QT=$qt cmake --preset windows
cmake --build "$build" --parallel "$jobs"

# A Wine of its own inside the build folder, quiet and without a display;
# no .NET or HTML engine is wanted, so Wine does not offer to fetch them.
# (The end-to-end tests bring up their own prefix on their X server.)
unset DISPLAY WAYLAND_DISPLAY
export WINEPREFIX="$PWD/$build/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export WINEARCH=win64
# Whatever an interrupted earlier run left running in this prefix goes first.
wineserver -k >/dev/null 2>&1 || true
wineserver -w
if [[ ! -f "$WINEPREFIX/system.reg" ]]; then
  wineboot -i >/dev/null 2>&1
  wineserver -w
fi
# Wine's null graphics driver: without a display a program gets no top-level
# window of its own, and the one that hears the session end is one.
if ! grep -qsF '"Graphics"="null"' "$WINEPREFIX/user.reg"; then
  wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f </dev/null >/dev/null 2>&1
  wineserver -w
fi
# One Wine server, with Wine's own background processes, for the whole run.
# They are started here, away from CTest: started by a test program they
# would inherit its output pipe, and CTest would wait for them to end.
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure --parallel "$jobs"

scripts/package-windows.sh "$build" dist/Tavlo-win64.zip
