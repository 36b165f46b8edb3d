#!/usr/bin/env bash
# Installs what is missing, builds Tavlo with AddressSanitizer and
# UndefinedBehaviorSanitizer (leak checks included) and runs every test, the
# GUI and end-to-end tests among them: the asan workflow. Slower than
# scripts/test.sh, so kept apart from it. The last line is CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh test
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
export CTEST_PARALLEL_LEVEL=${CTEST_PARALLEL_LEVEL:-$(nproc)}
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cmake --workflow --preset asan
