#!/usr/bin/env bash
# Runs a command on a virtual X server of its own: with-xvfb.sh COMMAND [ARGUMENT...].
# Xvfb picks a free display and tells its number, where xvfb-run -a guesses one from the lock
# files in /tmp, which cannot see a server that another root or container on this machine holds.
set -euo pipefail
scratch=$(mktemp -d)
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" >/dev/null 2>&1 &
server=$!
trap 'kill "$server" 2>/dev/null || true; wait "$server" 2>/dev/null || true; rm -rf "$scratch"' EXIT
for _ in $(seq 1 100); do
  [ -s "$scratch/display" ] && break
  kill -0 "$server" 2>/dev/null || break
  sleep 0.1
done
[ -s "$scratch/display" ] || { echo "with-xvfb.sh: the virtual X server did not start" >&2; exit 1; }
status=0
DISPLAY=":$(cat "$scratch/display")" "$@" || status=$?
exit "$status"
