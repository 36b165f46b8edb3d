#!/usr/bin/env bash
# Installs what is missing, builds Tavlo and runs every test: first the whole
# program and its tests built for Windows and run under Wine, with the zip
# packed and tried (scripts/test-windows.sh; the first run also builds Qt for
# Windows into a cache), then the dev workflow here (configure, build, every
# test, the lint of the program's sources among them). A warning fails either
# build. The last line is CTest's summary of the suite here.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test windows
scripts/test-windows.sh
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
cmake --workflow --preset dev
