#!/usr/bin/env bash
# Runs a command on a virtual X server of its own: with-xvfb.sh COMMAND [ARGUMENT...].
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/xvfb.sh"
scratch=$(mktemp -d)
cleanup() {
  if [ -n "$xvfb_pid" ]; then
    kill "$xvfb_pid" 2>/dev/null || true
    wait "$xvfb_pid" 2>/dev/null || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT
start_xvfb "$scratch" 1280x1024x24
status=0
"$@" || status=$?
exit "$status"
