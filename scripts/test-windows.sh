#!/usr/bin/env bash
# Cross-builds the Qt-free core and its GoogleTest suites for 64-bit Windows with MinGW-w64 and
# runs them under wine. Ends with "N passed, M failed"; exits non-zero on any failure.
set -euo pipefail
cd "$(dirname "$0")/.."
set --
# Wine turns Windows names into Unix file names through the locale's encoding: without a UTF-8
# locale (an empty environment has none) the suites cannot make their "Übung" directories.
export LC_ALL=C.UTF-8
source scripts/setup.sh g++-mingw-w64-x86-64-posix wine64 googletest

build=build-windows-tests
wine=/usr/lib/wine/wine64
export WINEDEBUG=-all
export WINEPREFIX=$PWD/$build/wineprefix

# A static runtime, so the suites run without MinGW's DLLs beside them. The suites are run
# below, one wine start each, not listed by starting them at build time.
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_EXE_LINKER_FLAGS=-static -DCMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE=PRE_TEST \
  -DPLINTHWRIGHT_BUILD_FRONT_ENDS=OFF \
  -DPLINTHWRIGHT_GTEST_SOURCE_DIR=/usr/src/googletest >/dev/null
cmake --build "$build"

# The first start makes the wine prefix (some seconds); later ones reuse it.
mkdir -p "$WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1 || true

passed=0
failed=0
skipped=0
broken=()
for suite in "$build"/bin/test_*.exe; do
  name=$(basename "$suite" .exe)
  echo "== $name"
  log="$build/$name.log"
  status=0
  # Run from the build directory: the suites make their temporary directories beside them.
  (cd "$build" && "$wine" "bin/$name.exe" --gtest_brief=1) >"$log" 2>&1 || status=$?
  grep -E '^\[  (FAILED|SKIPPED) \]|Failure' "$log" || true
  p=$(sed -n 's/^\[  PASSED  \] \([0-9]*\) tests\?\..*/\1/p' "$log")
  f=$(sed -n 's/^\[  FAILED  \] \([0-9]*\) tests\?[.,].*/\1/p' "$log")
  s=$(sed -n 's/^\[  SKIPPED \] \([0-9]*\) tests\?[.,].*/\1/p' "$log")
  passed=$((passed + ${p:-0}))
  failed=$((failed + ${f:-0}))
  skipped=$((skipped + ${s:-0}))
  if [ "$status" -ne 0 ] || [ -z "$p$f" ]; then
    # A crash or a run that printed no summary counts as a failure of the whole suite.
    [ -z "$f" ] && failed=$((failed + 1))
    broken+=("$name (exit $status, log $log)")
  fi
done

[ ${#broken[@]} -gt 0 ] && printf 'failed suite: %s\n' "${broken[@]}"
[ "$skipped" -gt 0 ] && echo "$skipped skipped (they cannot apply on Windows; see the logs in $build)"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
