#!/usr/bin/env bash
# Installs what is missing, builds Tavlo and runs every test: first the whole
# program and its tests built for Windows and run under Wine, with the zip
# packed and tried (scripts/test-windows.sh; the first run also builds Qt for
# Windows into a cache), then the lint of the program's sources and the whole
# suite here. The last line is CTest's summary of the whole suite.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh g++-mingw-w64-x86-64 g++-mingw-w64-x86-64-posix wine wine64 googletest \
  ninja-build dpkg-dev openbox
scripts/test-windows.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)"
scripts/lint.sh build
ctest --test-dir build --output-on-failure --parallel "$(nproc)"
