#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test. Exits non-zero on any failure.
#   scripts/test.sh         the Debug build and every test
#   scripts/test.sh --all   the same, then every test again under AddressSanitizer and UBSan,
#                           a minute of each fuzz target, and the core's suites built for
#                           Windows and run under wine (what CI runs after scripts/test-fresh.sh;
#                           about 15 minutes)
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/option.sh --all "scripts/test.sh [--all]" "$@"
all=$option_given
set --
# bash-completion: the completion test skips without it.
source scripts/setup.sh bash-completion

cmake --preset default >/dev/null
cmake --build --preset default
ctest --preset default

if $all; then
  cmake --preset sanitize >/dev/null
  cmake --build --preset sanitize
  ctest --preset sanitize
  scripts/fuzz.sh 60
  scripts/test-windows.sh
fi
