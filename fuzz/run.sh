#!/usr/bin/env bash
# fuzz/run.sh SECONDS [TARGET...]: runs each fuzz target (all by default) for SECONDS on all
# cores, starting from its seeds and past crash inputs; new inputs go to fuzz/corpus-work/,
# findings to fuzz/findings/<target>/. Prints executions and findings per target.
set -euo pipefail
cd "$(dirname "$0")/.."
secs=${1:?usage: fuzz/run.sh SECONDS [TARGET...]}
shift
fuzz/build.sh
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
  for f in build-fuzz/fuzz/*_fuzzer; do targets+=("$(basename "$f" _fuzzer)"); done
fi
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for t in "${targets[@]}"; do
  work=fuzz/corpus-work/$t findings=fuzz/findings/$t
  mkdir -p "$work" "$findings" fuzz/regressions/"$t"
  log=$(mktemp)
  build-fuzz/fuzz/${t}_fuzzer -max_total_time="$secs" -jobs="$(nproc)" -workers="$(nproc)" \
    -artifact_prefix="$findings/" -print_final_stats=1 \
    "$work" build-fuzz/fuzz-seeds/"$t" fuzz/regressions/"$t" >"$log" 2>&1 || true
  execs=$(grep -h 'stat::number_of_executed_units' fuzz-*.log "$log" 2>/dev/null | awk '{s+=$2} END {print s+0}')
  rm -f fuzz-*.log
  echo "$t: $execs executions, $(find "$findings" -type f | wc -l) findings"
  rm -f "$log"
done
