#!/usr/bin/env bash
# Installs what is missing, builds, and starts the window.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh

cmake --preset default >/dev/null
cmake --build --preset default
exec build/bin/plinthwright "$@"
