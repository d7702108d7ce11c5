#!/usr/bin/env bash
# The plugin library exports the five entry points X-Plane calls, and nothing else.
set -eu
library="$1"
expected="XPluginDisable XPluginEnable XPluginReceiveMessage XPluginStart XPluginStop"
actual=$(nm -D --defined-only "$library" | awk '$2 ~ /^[TDBRVWiu]$/ {print $3}' | sort | tr '\n' ' ' | sed 's/ $//')
if [ "$actual" != "$expected" ]; then
  echo "exports of $library:"
  echo "  expected: $expected"
  echo "  found:    $actual"
  exit 1
fi
echo "exports of $library: the five entry points only"
