#!/usr/bin/env bash
# Checks the program's own sources: clang-format finds nothing to change and
# clang-tidy (.clang-tidy) reports nothing. Takes the build folder whose
# compile_commands.json describes the sources; fails on any finding.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

mapfile -t sources < <(git ls-files 'app/*.cpp' 'engine/*.cpp' 'settings/*.cpp' 'platform/*.cpp' 'journal/*.cpp' 'ui/*.cpp' |
  grep -v '_win\.cpp$')
mapfile -t formatted < <(git ls-files '*.cpp' '*.h' | grep -v '^tests/fuzz/corpus/')

clang-format --dry-run --Werror "${formatted[@]}"
# Windows-only files are not in this build's compile commands. The build
# turns warnings into errors; clang warns of more than GCC does (signedness
# among them), and here only the checks of .clang-tidy count.
printf '%s\n' "${sources[@]}" |
  xargs -P "$(nproc)" -n 4 clang-tidy -p "$build" --quiet --extra-arg=-Wno-error 2>/dev/null
echo "lint: ${#formatted[@]} files formatted, ${#sources[@]} files checked by clang-tidy"
