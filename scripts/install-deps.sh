#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine.
# As root it runs apt-get; otherwise it prints the one command to run.
# Usage: install-deps.sh [--windows | --coverage | --fuzz]
#   --windows: also what the Windows build needs: the MinGW-w64 cross compiler, and Wine to run its tests.
#   --coverage: also gcovr, which reports the coverage build's line and branch coverage.
#   --fuzz: also clang and its runtime libraries (libFuzzer, the sanitizers), which Debian only recommends.
set -eu
# locales: the locale sources, so a test can prove numbers ignore a decimal-comma locale. clang-tidy and
# cppcheck: the static analysis of the dev build's test run. libedit-dev: line editing in `talvenor-sim -i`.
# universal-ctags: where each function begins and ends, for the check of their lengths.
packages=(cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev
          clang-format clang-tidy cppcheck valgrind python3 zip locales libedit-dev universal-ctags)
windows_packages=(g++-mingw-w64-x86-64 wine wine64)
fuzz_packages=(clang libclang-rt-14-dev)
case "${1:-}" in
  "") ;;
  --windows) packages+=("${windows_packages[@]}") ;;
  --coverage) packages+=(gcovr) ;;
  --fuzz) packages+=("${fuzz_packages[@]}") ;;
  *) echo "usage: $0 [--windows | --coverage | --fuzz]" >&2; exit 2 ;;
esac
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
cmd="apt-get update && DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends ${missing[*]}"
if [ "$(id -u)" -eq 0 ]; then
  echo "Installing: ${missing[*]}"
  bash -c "$cmd"
else
  echo "Missing packages: ${missing[*]}" >&2
  echo "Run as root:  $cmd" >&2
  exit 1
fi
