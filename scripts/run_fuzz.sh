#!/usr/bin/env bash
# Runs each libFuzzer target of a fuzz build for SECONDS seconds, starting from its seed corpus, and prints
# its executions and corpus size. New inputs go to BUILD/fuzz-corpus/NAME (the seeds in fuzz/corpus stay as
# they are); an input that fails is kept as BUILD/fuzz-artifacts/NAME-crash-... and fails the run.
# Usage: run_fuzz.sh BUILD SECONDS
set -u
build=$1
seconds=$2
source_dir=$(cd "$(dirname "$0")/.." && pwd)
# Each target with the longest input it is given and its seed folders (as fuzz/CMakeLists.txt gives them to
# the corpus replays). An input of a whole-plugin target is the events and frames of a session, and each
# step costs the plugin's own work under the sanitizers, so its inputs are held to about two steps (typed
# texts, which may be long, to three steps by the target itself), which keeps them near 10,000 a second; long
# sequences of events are the soak's. The setup file keeps room for its 1,024-entry limit, a scenario text
# for a few directives; 0 is libFuzzer's own, the longest seed.
targets=(
  "setup_file 2100 fuzz/corpus/setup"
  "number_text 0 fuzz/corpus/numbers"
  "aircraft_files 480 fuzz/corpus/aircraft"
  "tracker_frames 90 fuzz/corpus/tracker"
  "external_data 10 fuzz/corpus/external"
  "widget_text 800 fuzz/corpus/widgets"
  "scenario_parser 256 fuzz/corpus/scenarios tests/scenarios examples"
  "udp_datagram 0 fuzz/corpus/udp_datagrams"
  "udp_settings 256 fuzz/corpus/udp_settings"
)
# A quarantine of 16 MB still holds every block an input frees until long after it ends; the default 256 MB
# has each input fault in fresh pages: 40% of the time of an empty one, 10 to 30% of a two-step one.
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:quarantine_size_mb=16}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
failed=0
printf '%-16s %12s %10s %10s  %s\n' target executions "exec/s" corpus result
for entry in "${targets[@]}"; do
  read -r name max_len seeds <<<"$entry"
  work="$build/fuzz-corpus/$name"
  artifacts="$build/fuzz-artifacts"
  mkdir -p "$work" "$artifacts"
  seed_paths=()
  for seed in $seeds; do seed_paths+=("$source_dir/$seed"); done
  log="$build/fuzz-$name.log"
  "$build/fuzz/${name}_fuzz" -max_total_time="$seconds" -print_final_stats=1 -timeout=20 -max_len="$max_len" \
    -artifact_prefix="$artifacts/$name-" "$work" "${seed_paths[@]}" >"$log" 2>&1
  status=$?
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
  # The corpus libFuzzer ended with (seeds and new inputs, after its own merging): files and bytes.
  corpus=$(grep -o 'corp: [0-9]*/[0-9]*[a-zA-Z]*' "$log" | tail -1 | sed 's/corp: //')
  result=ok
  if [ $status -ne 0 ]; then
    result="FAILED (see $log)"
    failed=1
  fi
  printf '%-16s %12s %10s %10s  %s\n' "$name" "${runs:-?}" "${rate:-?}" "${corpus:-?}" "$result"
done
exit $failed
