#!/usr/bin/env bash
# Builds the window, shows it on a virtual X server with the demo track loaded and the sample
# models chosen, and writes a picture of it and the plan window beside it in its 3D view to
# docs/window.png (or the path given as the first argument), and with the plan from above to
# window-plan.png beside it. Also draws docs/plan.svg and the 3D view in docs/view3d.png with
# the command line.
set -euo pipefail
cd "$(dirname "$0")/.."
# The picture shows numbers as the C locale writes them whoever makes it, and xdotool reads the
# path it types (which need not be ASCII) in the locale's encoding.
export LC_ALL=C.UTF-8
source scripts/setup.sh imagemagick xdotool

output=${1:-docs/window.png}
build_dir=${PLINTHWRIGHT_BUILD_DIR:-build}
if [ "$build_dir" = build ]; then
  cmake --preset default >/dev/null
fi
cmake --build "$build_dir" --target plinthwright plinthwright-cli

source tests/support/xvfb.sh
scratch=$(mktemp -d)
window_pid=
cleanup() {
  [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$scratch"
}
trap cleanup EXIT

# A display of our own, a first-run settings store, and no window manager: the window sits at
# the top left corner without a frame. Wide enough for the plan window beside the main window.
start_xvfb "$scratch" 1400x720x24

mkdir -m 700 "$scratch/runtime"

# Starts the window on a first-run settings store in which the plan window was last left in
# view $1 (top or 3d), chooses the models and writes the screen to $2.
take() {
  rm -rf "$scratch/config"
  mkdir -p "$scratch/config/tallowmere"
  printf '[planWindow]\nview=%s\n' "$1" >"$scratch/config/tallowmere/basaltora.conf"
  QT_QPA_PLATFORM=xcb XDG_CONFIG_HOME="$scratch/config" \
    XDG_RUNTIME_DIR="$scratch/runtime" "$build_dir/bin/plinthwright" examples/demo.nltrack &
  window_pid=$!
  sleep 3

  # The model directory through the keyboard, as a user without a mouse would choose it: the
  # fifth widget after the file field is "select..." of the model directory. Without a window
  # manager the main window gets the focus only when asked.
  local main_window
  main_window=$(xdotool search --onlyvisible --name '^Plinthwright$' | head -n1)
  xdotool windowfocus --sync "$main_window"
  xdotool key Tab Tab Tab Tab Tab space
  sleep 1
  xdotool type --delay 20 "$PWD/examples/models"
  xdotool key Return
  sleep 3

  mkdir -p "$(dirname "$2")"
  # The root window is black around the window; trimming leaves the window alone.
  import -window root -trim +repage "$2"
  echo "Wrote $2"
  kill "$window_pid" 2>/dev/null || true
  wait "$window_pid" 2>/dev/null || true
  window_pid=
}
# The README's picture shows the 3D view; the window's own page the plan from above.
take 3d "$output"
take top "$(dirname "$output")/window-plan.png"

"$build_dir/bin/plinthwright-cli" plan examples/demo-footers.nltrack -o docs/plan.svg \
  --models-dir examples/models
# The 3D view renders through OpenGL, which it gets from the same virtual X server.
"$build_dir/bin/plinthwright-cli" plan examples/demo-footers.nltrack \
  -o docs/view3d.png --3d --models-dir examples/models
