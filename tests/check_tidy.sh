#!/usr/bin/env bash
# clang-tidy over the plugins' sources (src/ and companion/) with the checks of .clang-tidy; any finding fails the test.
# Usage: check_tidy.sh SOURCE_DIR BUILD_DIR (a build folder with compile_commands.json)
# The Windows-only files of src/os/win32 are not in a Linux build's compile commands; cppcheck reads them.
set -eu
src=$(cd "$1" && pwd)
build=$(cd "$2" && pwd)
tidy=(clang-tidy --quiet --config-file="$src/.clang-tidy" --extra-arg=-Wno-unknown-warning-option)

# First the check must be able to fail: a planted ignored fclose result is a finding.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf '#include <cstdio>\nvoid Close(std::FILE* f) { std::fclose(f); }\n' >"$scratch/planted.cpp"
if "${tidy[@]}" "$scratch/planted.cpp" -- -std=c++20 >"$scratch/out" 2>&1; then
  echo "clang-tidy passed a planted finding:"; cat "$scratch/out"; exit 1
fi

mapfile -t files < <(python3 -c '
import json, sys
roots = tuple(sys.argv[2] + d for d in ("/src/", "/companion/"))
print("\n".join(sorted({e["file"] for e in json.load(open(sys.argv[1])) if e["file"].startswith(roots)})))
' "$build/compile_commands.json" "$src")
[ ${#files[@]} -gt 0 ] || { echo "no file of $src/src or $src/companion in $build/compile_commands.json"; exit 1; }
status=0
printf '%s\n' "${files[@]}" | xargs -P2 -n4 "${tidy[@]}" -p "$build" >"$scratch/all" 2>&1 || status=$?
grep -v -E '^[0-9]+ warnings? (and [0-9]+ errors? )?generated\.$|^Suppressed [0-9]+ warnings|^Use -header-filter' \
  "$scratch/all" >"$scratch/findings" || true
if [ $status -ne 0 ] || [ -s "$scratch/findings" ]; then
  cat "$scratch/findings"
  echo "clang-tidy found the above in src/ or companion/"
  exit 1
fi
echo "clang-tidy: ${#files[@]} files of src/ and companion/ clean"
