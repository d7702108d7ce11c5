#!/usr/bin/env bash
# Every C and C++ file of the repository is formatted as .clang-format says.
set -eu
cd "$1"
files=$(git ls-files '*.cpp' '*.h' '*.c')
if ! clang-format --dry-run -Werror $files; then
  echo "run: make format"
  exit 1
fi
echo "$(echo "$files" | wc -l) files formatted"
