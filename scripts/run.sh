#!/usr/bin/env bash
# Installs what running needs, builds Tavlo and starts it. Tavlo keeps its
# settings file Tavlo.ini beside the program: build/Tavlo.ini.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh run
export CMAKE_BUILD_PARALLEL_LEVEL=${CMAKE_BUILD_PARALLEL_LEVEL:-$(nproc)}
cmake --preset dev
cmake --build --preset dev --target tavlo
exec build/tavlo
