#!/usr/bin/env bash
# Counts with valgrind's callgrind the instructions of one simulator cycle in each configuration of
# bench/frame_rig.h (the floor plugin and Talvenor's A to D) less the host's own cycle, and those of
# XPluginStart with no setup file and with one of 1,024 key lines, and TalvenorUDP's flight loop in frames
# after each of which 200 poses flooded its port (U). talvenor_frame_count and talvenor_udp_flood_count run
# with collection off, switched on only inside what is measured, and fail when the plugin did not do its
# configuration's work, so nothing is counted for work not done.
#
#   bench/measure_budget.sh [--cycles N] [--check BUDGET_FILE] BUILD_DIR
#
# With --check, each of A to D and U must stay within its count in BUDGET_FILE plus 10%; the script says by
# how much one is over and exits 1. BUILD_DIR is a Release build (the counts and the budget are the Release
# build's) with talvenor_frame_count and talvenor_udp_flood_count built.
set -euo pipefail

cycles=1000
budget=""
build=""
while [ $# -gt 0 ]; do
  case "$1" in
    --cycles) cycles=$2; shift 2 ;;
    --check) budget=$2; shift 2 ;;
    -h|--help) sed -n '2,13p' "$0"; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) build=$1; shift ;;
  esac
done
[ -n "$build" ] || { echo "usage: $0 [--cycles N] [--check BUDGET_FILE] BUILD_DIR" >&2; exit 2; }
program="$build/bench/talvenor_frame_count"
flood_program="$build/bench/talvenor_udp_flood_count"
for needed in "$program" "$flood_program"; do
  [ -x "$needed" ] || { echo "missing $needed: build ${needed##*/} first" >&2; exit 2; }
done
command -v valgrind >/dev/null || { echo "valgrind is not installed (scripts/install-deps.sh installs it)" >&2; exit 2; }
[ -z "$budget" ] || [ -r "$budget" ] || { echo "cannot read $budget" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Instructions inside FUNCTION in a run of PROGRAM with ARGS.
count_in() {
  local run=$1 function=$2 out="$work/cg.out"
  shift 2
  valgrind --tool=callgrind --collect-atstart=no --toggle-collect="$function" --callgrind-out-file="$out" \
    "$run" "$@" >"$work/run.txt" 2>&1 || { echo "${run##*/} $*:" >&2; cat "$work/run.txt" >&2; exit 1; }
  awk '/^(summary|totals):/ { print $2; exit }' "$out"
}
count() { count_in "$program" "$@"; }

declare -A per_cycle
for rig in host floor A B C D; do
  total=$(count talvenor_bench_cycle "$rig" "$cycles")
  per_cycle[$rig]=$((total / cycles))
done
host=${per_cycle[host]}
floor=$((per_cycle[floor] - host))
echo "callgrind, instructions per simulator cycle less the host's own ($host), $cycles cycles each:"
printf '  %-6s %7s  %s\n' floor "$floor" "reads the six head datarefs and writes them back"
declare -A cost
targets=(A:1 B:2 C:6 D:2.5)
for entry in "${targets[@]}"; do
  rig=${entry%%:*} target=${entry#*:}
  cost[$rig]=$((per_cycle[$rig] - host))
  awk -v r="$rig" -v c="${cost[$rig]}" -v f="$floor" -v t="$target" 'BEGIN {
    printf "  %-6s %7d  %5.2f x floor (target %s x: %s)\n", r, c, c / f, t, c <= t * f ? "met" : "missed"
  }'
done
for lines in 0 1024; do
  printf '  XPluginStart, %4d setup lines: %d instructions\n' "$lines" "$(count XPluginStart start "$lines")"
done
flood_frames=$((cycles < 100 ? cycles : 100))
cost[U]=$(($(count_in "$flood_program" 'talvenor::udp::*FlightLoop*' 200 "$flood_frames") / flood_frames))
printf '  U      %7d  TalvenorUDP, a frame after 200 poses flooded its port\n' "${cost[U]}"

[ -n "$budget" ] || exit 0
status=0
checked=0
while read -r rig allowed _; do
  case "$rig" in A|B|C|D|U) checked=$((checked + 1)) ;; *) continue ;; esac
  measured=${cost[$rig]}
  limit=$((allowed + allowed / 10))
  if [ "$measured" -gt "$limit" ]; then
    awk -v r="$rig" -v m="$measured" -v a="$allowed" -v l="$limit" 'BEGIN {
      printf "FAIL %s: %d instructions per cycle, %d (%.1f%%) over its budget of %d (%d + 10%%)\n",
             r, m, m - l, (m - l) * 100 / l, l, a
    }'
    status=1
  else
    echo "ok   $rig: $measured instructions per cycle, within $limit ($allowed + 10%)"
  fi
done < <(grep -v '^#' "$budget")
[ "$checked" -eq 5 ] || { echo "FAIL $budget holds $checked of the counts of A, B, C, D and U"; status=1; }
exit $status
