#!/usr/bin/env bash
# cppcheck over the plugins' sources (src/ and companion/, the Windows-only files included) with the accepted findings of
# tests/cppcheck.supp; any other finding fails the test.
# Usage: check_cppcheck.sh SOURCE_DIR
set -eu
src=$(cd "$1" && pwd)
check=(cppcheck --quiet --error-exitcode=1 --inline-suppr --std=c++20 --language=c++ -j2
       --enable=warning,style,performance,portability --suppress=missingIncludeSystem
       --suppressions-list="$src/tests/cppcheck.supp" -I "$src/src" -I "$src/sdk" -I "$src/companion/udp"
       -DLIN=1 -DIBM=0 -DAPL=0 -DXPLM200=1 -DXPLM210=1 -DXPLM300=1 -DXPLM301=1)

# First the check must be able to fail: a planted read past an array's end is a finding.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
printf 'int Last() {\n  int values[4] = {1, 2, 3, 4};\n  return values[4];\n}\n' >"$scratch/planted.cpp"
if "${check[@]}" "$scratch/planted.cpp" >"$scratch/out" 2>&1; then
  echo "cppcheck passed a planted finding:"; cat "$scratch/out"; exit 1
fi

count=$(find "$src/src" "$src/companion" -name '*.cpp' | wc -l)
[ "$count" -gt 0 ] || { echo "no sources under $src/src"; exit 1; }
if ! "${check[@]}" "$src/src" "$src/companion"; then
  echo "cppcheck found the above in src/ or companion/"
  exit 1
fi
echo "cppcheck: $count files of src/ and companion/ clean"
