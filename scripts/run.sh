#!/usr/bin/env bash
# Installs what is missing, builds Tavlo and starts it. Tavlo keeps its
# settings file Tavlo.ini beside the program: build/Tavlo.ini.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build --parallel "$(nproc)" --target tavlo
exec build/tavlo
