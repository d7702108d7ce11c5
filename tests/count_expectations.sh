#!/usr/bin/env bash
# Sums the scenario expectations of the last CTest run of a build folder, per suite (the folder under
# tests/scenarios, or the demo), from the closing line each talvenor-sim run prints.
# Usage: count_expectations.sh BUILD_DIR
set -euo pipefail
log="${1:?usage: count_expectations.sh BUILD_DIR}/Testing/Temporary/LastTest.log"
[ -f "$log" ] || { echo "no test log $log: run ctest first" >&2; exit 2; }
tr -d '\r' < "$log" | awk '
  /^[0-9]+\/[0-9]+ Test: / { name = $3; suite = "";
    if (name ~ /^scenario\//) { split(name, parts, "/"); suite = parts[2] }
    else if (name ~ /^examples\/.*\.scn$/) suite = "demo" }
  suite != "" && /^[0-9]+ passed, [0-9]+ failed(, [0-9]+ skipped)?$/ {
    gsub(",", ""); passed[suite] += $1; failed[suite] += $3; skipped[suite] += ($5 == "" ? 0 : $5);
    runs[suite]++; suite = "" }
  END { for (s in runs) print s, runs[s], passed[s], failed[s], skipped[s] }' | sort | awk '
  BEGIN { printf "%-8s %6s %7s %7s %8s\n", "suite", "files", "passed", "failed", "skipped" }
  { printf "%-8s %6d %7d %7d %8d\n", $1, $2, $3, $4, $5; f += $2; p += $3; x += $4; k += $5 }
  END { printf "%-8s %6d %7d %7d %8d\n", "total", f, p, x, k }'
