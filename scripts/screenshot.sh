#!/usr/bin/env bash
# Builds the window, shows it on a virtual X server with the demo track loaded and writes a
# picture of it to docs/window.png (or the path given as the first argument).
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/setup.sh xvfb xauth imagemagick

output=${1:-docs/window.png}
build_dir=${PLINTHWRIGHT_BUILD_DIR:-build}
if [ "$build_dir" = build ]; then
  cmake --preset default >/dev/null
fi
cmake --build "$build_dir" --target plinthwright

scratch=$(mktemp -d)
server_pid=
window_pid=
cleanup() {
  [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null || true
  [ -n "$server_pid" ] && kill "$server_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# A display number nobody uses, a first-run settings store, and no window manager: the window
# sits at the top left corner without a frame.
display=99
while [ -e "/tmp/.X11-unix/X$display" ] || [ -e "/tmp/.X$display-lock" ]; do
  display=$((display + 1))
done
Xvfb ":$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
server_pid=$!
sleep 1

mkdir -m 700 "$scratch/runtime"
DISPLAY=":$display" QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$scratch/config" \
  XDG_RUNTIME_DIR="$scratch/runtime" "$build_dir/bin/plinthwright" examples/demo.nltrack &
window_pid=$!
sleep 3

mkdir -p "$(dirname "$output")"
# The root window is black around the window; trimming leaves the window alone.
DISPLAY=":$display" import -window root -trim +repage "$output"
echo "Wrote $output"
