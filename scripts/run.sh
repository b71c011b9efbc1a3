#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window. Arguments go to the window
# (a track file to open, or toolkit options).
set -euo pipefail
cd "$(dirname "$0")/.."
window_args=("$@")
set --
source scripts/setup.sh

cmake --preset default >/dev/null
cmake --build --preset default
exec build/bin/plinthwright "${window_args[@]}"
