#!/usr/bin/env bash
# Installs what is missing, builds the window optimised (with symbols) and starts it. Arguments
# go to the window (a track file to open, or toolkit options). Only the window is compiled: the
# tests are built by scripts/test.sh.
#   scripts/run.sh [TRACK] [QT OPTIONS]   build and start the window
#   scripts/run.sh --build-only           build exactly that, then stop before starting it
#                                         (for checking the build, as scripts/test-fresh.sh does)
set -euo pipefail
cd "$(dirname "$0")/.."
build_only=false
if [ "${1:-}" = --build-only ]; then
  build_only=true
  shift
fi
window_args=("$@")
set --
source scripts/setup.sh

cmake --preset run >/dev/null
cmake --build --preset run
if $build_only; then
  echo "Built build-run/bin/plinthwright"
  exit 0
fi
exec build-run/bin/plinthwright "${window_args[@]}"
