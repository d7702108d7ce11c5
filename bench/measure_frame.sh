#!/usr/bin/env bash
# Counts the instructions of one per-frame view update with view control on, under valgrind's callgrind:
# talvenor-sim runs Talvenor.xpl on a scenario that switches view control on through the plugin menu and
# runs N frames, and again with M frames; the difference divided by N - M is the cost of one simulator
# cycle with the plugin's update in it. Callgrind's inclusive count of ViewUpdateCallback, divided by its
# calls, gives the update's own share. The scenario checks at its end that view control is still on, so a
# run that did not do the work fails instead of measuring nothing. With --tracker the substitute tracker is
# installed and delivers a new frame before every cycle, so each update also reads and scales a head pose.
#
#   bench/measure_frame.sh [--frames N] [--base M] [--tracker] BUILD_DIR
#
# BUILD_DIR is a build folder with Talvenor and talvenor-sim built; not a sanitized one (valgrind and the
# sanitizers do not mix). A Release or RelWithDebInfo build gives the figure that matters.
set -euo pipefail

frames=2000
base=200
build=""
tracker=0
while [ $# -gt 0 ]; do
  case "$1" in
    --frames) frames=$2; shift 2 ;;
    --base) base=$2; shift 2 ;;
    --tracker) tracker=1; shift ;;
    -h|--help) sed -n '2,14p' "$0"; exit 0 ;;
    -*) echo "unknown option $1" >&2; exit 2 ;;
    *) build=$1; shift ;;
  esac
done
[ -n "$build" ] || { echo "usage: $0 [--frames N] [--base M] BUILD_DIR" >&2; exit 2; }
[ "$frames" -gt "$base" ] || { echo "--frames must be larger than --base" >&2; exit 2; }
sim="$build/sim/talvenor-sim"
plugin="$build/lin_x64/Talvenor.xpl"
for file in "$sim" "$plugin"; do
  [ -e "$file" ] || { echo "missing $file: build Talvenor and talvenor-sim first" >&2; exit 2; }
done
command -v valgrind >/dev/null || { echo "valgrind is not installed" >&2; exit 2; }
command -v callgrind_annotate >/dev/null || { echo "callgrind_annotate is not installed" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

scenario() {
  local n=$1 file=$2
  {
    [ "$tracker" = 0 ] || echo "tracker-library Tracker"
    printf 'start\nmenu Talvenor Enable\nexpect menu Talvenor Enable disabled\n'
    if [ "$tracker" = 0 ]; then
      echo "frames $n"
    else
      for ((i = 1; i <= n; i++)); do printf 'tracker frame x=%d\nframes 1\n' $((i % 50)); done
      echo 'expect menu Talvenor "TrackIR Disable" enabled'
    fi
    printf 'expect menu Talvenor Enable disabled\nexpect sim/graphics/view/view_type 1026\nstop\n'
  } >"$file"
}

# Prints "TOTAL UPDATE_INCLUSIVE UPDATE_CALLS" for a run of N frames.
measure() {
  local n=$1
  scenario "$n" "$work/frames$n.scn"
  valgrind --tool=callgrind --callgrind-out-file="$work/cg$n.out" "$sim" --quiet --plugin "$plugin" \
    "$work/frames$n.scn" >"$work/cg$n.txt" 2>&1 || { cat "$work/cg$n.txt" >&2; exit 1; }
  local total update
  total=$(awk '/^(summary|totals):/ { print $2; exit }' "$work/cg$n.out")
  update=$(callgrind_annotate --inclusive=yes --threshold=100 "$work/cg$n.out" 2>/dev/null |
    awk '/ViewUpdateCallback/ && !found { gsub(",", "", $1); print $1; found = 1 }')
  echo "$total ${update:-0}"
}

read -r full full_update < <(measure "$frames")
read -r short short_update < <(measure "$base")
# The view update's first call comes in the 5th cycle after the start; the menu pick comes before any cycle.
calls_full=$((frames - 4))
calls_short=$((base - 4))
echo "callgrind, Talvenor.xpl with view control on$([ "$tracker" = 0 ] || echo " and a new tracker frame every cycle"), $frames and $base frames:"
awk -v f="$full" -v s="$short" -v fu="$full_update" -v su="$short_update" -v nf="$frames" -v ns="$base" \
  -v cf="$calls_full" -v cs="$calls_short" 'BEGIN {
  printf "  %d and %d instructions in all\n", f, s
  printf "  %.0f instructions per simulator cycle (host and plugin)\n", (f - s) / (nf - ns)
  if (fu > 0) printf "  %.0f instructions per call of ViewUpdateCallback (inclusive)\n", (fu - su) / (cf - cs)
}'
