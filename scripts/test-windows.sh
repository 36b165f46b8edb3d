#!/usr/bin/env bash
# Builds the UI-free core and its tests for Windows with mingw-w64 and runs
# them under Wine, where the profile layer calls the real kernel32 functions
# (Wine's). Installs what is missing first. Needs no display. The last lines
# are CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

build=build-win
jobs=2

scripts/install-deps.sh g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix wine wine64 googletest

cmake -S . -B "$build" \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DTAVLO_BUILD_UI=OFF -DTAVLO_BUILD_BENCH=OFF -DTAVLO_BUILD_TESTS=ON \
  -DTAVLO_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
cmake --build "$build" --parallel "$jobs"

# A Wine of its own inside the build folder, quiet and without a display;
# no .NET or HTML engine is wanted, so Wine does not offer to fetch them.
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
# One Wine server, with Wine's own background processes, for the whole run.
# They are started here, away from CTest: started by a test program they
# would inherit its output pipe, and CTest would wait for them to end.
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wine cmd /c exit </dev/null >/dev/null 2>&1

ctest --test-dir "$build" --output-on-failure --parallel "$jobs"
