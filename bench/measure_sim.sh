#!/usr/bin/env bash
# Times talvenor-sim running the SDK probe's head writer (the six head datarefs written every cycle) and,
# with --callgrind, counts its instructions under valgrind. The scenario is generated into a temporary
# folder; it checks the datarefs at the end, so a run that did not do the work fails instead of timing
# nothing.
#
#   bench/measure_sim.sh [--cycles N] [--runs R] [--callgrind] [--callgrind-cycles M] BUILD_DIR
#
# BUILD_DIR is a build folder with talvenor-sim and sdk_probe built (a Release build for meaningful times;
# not a sanitized one under valgrind).
set -euo pipefail

cycles=100000
runs=3
callgrind=0
callgrind_cycles=10000
build=""
while [ $# -gt 0 ]; do
  case "$1" in
    --cycles) cycles=$2; shift 2 ;;
    --runs) runs=$2; shift 2 ;;
    --callgrind) callgrind=1; shift ;;
    --callgrind-cycles) callgrind_cycles=$2; shift 2 ;;
    -h|--help) sed -n '2,11p' "$0"; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) build=$1; shift ;;
  esac
done
[ -n "$build" ] || { echo "usage: $0 [--cycles N] [--runs R] [--callgrind] [--callgrind-cycles M] BUILD_DIR" >&2; exit 2; }
sim="$build/sim/talvenor-sim"
probe="$build/tests/sdk_probe.xpl"
for file in "$sim" "$probe"; do
  [ -e "$file" ] || { echo "missing $file: build talvenor-sim and sdk_probe first" >&2; exit 2; }
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# The probe's head writer sets, after n calls: x (n%7)/100, y (n%11)/100, z -(n%13)/100, psi n%360-180,
# the n%90-45, roll (n%60)/2-15.
scenario() {
  local n=$1 file=$2
  {
    echo "start"
    echo "set probe/head_writer 1"
    echo "frames $n"
    echo "expect probe/head_writes $n"
    if [ "$n" -gt 0 ]; then
      awk -v n="$n" 'BEGIN {
        printf "expect sim/graphics/view/pilots_head_x %.2f ~0.0001\n", (n % 7) / 100
        printf "expect sim/graphics/view/pilots_head_y %.2f ~0.0001\n", (n % 11) / 100
        printf "expect sim/graphics/view/pilots_head_z %.2f ~0.0001\n", -(n % 13) / 100
        printf "expect sim/graphics/view/pilots_head_psi %d\n", n % 360 - 180
        printf "expect sim/graphics/view/pilots_head_the %d\n", n % 90 - 45
        printf "expect sim/graphics/view/field_of_view_roll_deg %.1f\n", (n % 60) / 2 - 15
      }'
    fi
    echo "set probe/head_writer 0"
    echo "stop"
  } >"$file"
}

median() { sort -n | awk '{ a[NR] = $1 } END { print a[int((NR + 1) / 2)] }'; }

# Median wall and CPU (user + system) time in ms of RUNS runs of a scenario: "WALL CPU".
measure() {
  local file=$1 TIMEFORMAT='%R %U %S' line walls=() cpus=()
  for ((i = 1; i <= runs; ++i)); do
    line=$({ time "$sim" --quiet --plugin "$probe" "$file" >"$work/out.txt" 2>&1; } 2>&1) || {
      echo "the scenario failed:" >&2
      cat "$work/out.txt" >&2
      exit 1
    }
    read -r wall user system <<<"$line"
    walls+=("$(awk -v t="$wall" 'BEGIN { print t * 1000 }')")
    cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN { print (u + s) * 1000 }')")
  done
  echo "$(printf '%s\n' "${walls[@]}" | median) $(printf '%s\n' "${cpus[@]}" | median)"
}

scenario "$cycles" "$work/head.scn"
scenario 0 "$work/none.scn"
read -r full_wall full_cpu < <(measure "$work/head.scn")
read -r base_wall base_cpu < <(measure "$work/none.scn")
echo "talvenor-sim, SDK probe head writer, $cycles cycles (medians of $runs runs):"
awk -v fw="$full_wall" -v fc="$full_cpu" -v bw="$base_wall" -v bc="$base_cpu" -v n="$cycles" 'BEGIN {
  printf "  %.1f ms wall (%.1f ms CPU) in all; start and stop alone %.1f ms wall (%.1f ms CPU)\n", fw, fc, bw, bc
  printf "  about %.0f ns wall (%.0f ns CPU) per cycle\n", (fw - bw) * 1e6 / n, (fc - bc) * 1e6 / n
}'

if [ "$callgrind" = 1 ]; then
  command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
  # The difference between a run of M cycles and one of none is the cost of the cycles alone.
  instructions() {
    local n=$1
    scenario "$n" "$work/cg$n.scn"
    valgrind --tool=callgrind --callgrind-out-file="$work/cg$n.out" "$sim" --quiet --plugin "$probe" \
      "$work/cg$n.scn" >"$work/cg$n.txt" 2>&1 || { cat "$work/cg$n.txt" >&2; exit 1; }
    awk '/^(summary|totals):/ { print $2; exit }' "$work/cg$n.out"
  }
  full=$(instructions "$callgrind_cycles")
  base=$(instructions 0)
  echo "callgrind, $callgrind_cycles cycles:"
  awk -v full="$full" -v base="$base" -v n="$callgrind_cycles" 'BEGIN {
    printf "  %d instructions in all, %d for start and stop alone\n", full, base
    printf "  %.0f instructions per cycle\n", (full - base) / n
  }'
fi
