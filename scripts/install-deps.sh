#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine.
# As root it runs apt-get; otherwise it prints the one command to run.
set -eu
packages=(cmake ninja-build g++ make pkg-config libgtest-dev libgmock-dev googletest libbenchmark-dev
          clang-format valgrind python3 zip)
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
