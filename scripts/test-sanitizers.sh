#!/usr/bin/env bash
# Installs what is missing, builds Tavlo with AddressSanitizer and
# UndefinedBehaviorSanitizer (leak checks included) and runs every test, the
# GUI and end-to-end tests among them. Slower than scripts/test.sh, so kept
# apart from it. The last line is CTest's summary.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake --preset asan >/dev/null
cmake --build build-asan --parallel "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
ctest --test-dir build-asan --output-on-failure --parallel "$(nproc)"
