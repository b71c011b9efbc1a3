#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for SECONDS (default 60), one after the other:
#   scripts/fuzz.sh [SECONDS [TARGET...]]   (all four targets when none is named)
# Prints each target's executions per second. A crash, leak or sanitizer report prints the
# reproducer's file name and makes the script exit non-zero; replay it with
#   build-fuzz/bin/<target> <reproducer>
# New inputs the fuzzer finds stay in build-fuzz/corpus/<target>; fuzz/corpus holds the track
# seeds, examples/models and fuzz/models the model seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
all_targets=(fuzz_read_track fuzz_generate_footers fuzz_plan fuzz_model_footprint)
targets=("${@:2}")
[ "${#targets[@]}" -gt 0 ] || targets=("${all_targets[@]}")
source scripts/setup.sh clang-14 libclang-rt-14-dev

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2 --target "${targets[@]}"

# The generation target installs its models as every generation does, each flushed to the disk;
# on a disk that would take most of the run, so its throwaway simulator lives in memory.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

status=0
for target in "${targets[@]}"; do
  work="build-fuzz/corpus/$target"
  if [ "$target" = fuzz_model_footprint ]; then
    inputs=(-dict=fuzz/model.dict "$work" examples/models fuzz/models)
  else
    inputs=(-dict=fuzz/track.dict "$work" fuzz/corpus)
  fi
  artifacts="build-fuzz/artifacts/$target"
  log="build-fuzz/$target.log"
  mkdir -p "$work" "$artifacts"
  echo "== $target: ${seconds} s"
  if "build-fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -artifact_prefix="$artifacts/" "${inputs[@]}" >"$log" 2>&1; then
    echo "   no crash, no leak, no sanitizer report"
  else
    status=1
    echo "   FAILED; the end of $log:"
    grep -E "ERROR:|runtime error:|SUMMARY:|Test unit written to" "$log" | sed 's/^/   /' || true
  fi
  runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
  rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
  echo "   ${runs:-?} executions, ${rate:-?} per second"
done
exit "$status"
