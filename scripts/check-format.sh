#!/usr/bin/env bash
# Checks that the C++ sources keep the layout of .clang-format; with --fix, lays them out.
# The generated CP932 table is left as its generator writes it.
set -euo pipefail
cd "$(dirname "$0")/.."
mapfile -t files < <(git ls-files 'src/*.cpp' 'src/*.h' 'tests/*.cpp' 'tests/*.h' 'fuzz/*.cpp' 'fuzz/*.h' \
  'bench/*.cpp' 'bench/*.h' | grep -v '^src/platform/Cp932Table.cpp$')
if [ "${1:-}" = "--fix" ]; then
  clang-format -i "${files[@]}"
else
  clang-format --dry-run --Werror "${files[@]}"
fi
