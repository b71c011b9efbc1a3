#!/usr/bin/env bash
# Installs what is missing, builds the window optimised (with symbols) and starts it. Arguments
# go to the window (a track file to open, or toolkit options). Only the window is compiled: the
# tests are built by scripts/test.sh.
set -euo pipefail
cd "$(dirname "$0")/.."
window_args=("$@")
set --
source scripts/setup.sh

cmake --preset run >/dev/null
cmake --build --preset run
exec build-run/bin/plinthwright "${window_args[@]}"
