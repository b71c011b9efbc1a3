#!/usr/bin/env bash
# Builds the libFuzzer targets and runs each for SECONDS (default 60), one after the other.
# Prints each target's executions per second. A crash, leak or sanitizer report prints the
# reproducer's file name and makes the script exit non-zero; replay it with
#   build-fuzz/bin/<target> <reproducer>
# New inputs the fuzzer finds stay in build-fuzz/corpus/<target>; fuzz/corpus holds the seeds.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"
source scripts/setup.sh clang-14 libclang-rt-14-dev

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j 2 --target fuzz_read_track fuzz_generate_footers fuzz_plan

# The generation target installs its models as every generation does, each flushed to the disk;
# on a disk that would take most of the run, so its throwaway simulator lives in memory.
if [ -d /dev/shm ] && [ -w /dev/shm ]; then
  export TMPDIR=/dev/shm
fi

status=0
for target in fuzz_read_track fuzz_generate_footers fuzz_plan; do
  work="build-fuzz/corpus/$target"
  artifacts="build-fuzz/artifacts/$target"
  log="build-fuzz/$target.log"
  mkdir -p "$work" "$artifacts"
  echo "== $target: ${seconds} s"
  if "build-fuzz/bin/$target" -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
       -dict=fuzz/track.dict -artifact_prefix="$artifacts/" "$work" fuzz/corpus >"$log" 2>&1; then
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
