#!/usr/bin/env bash
# Builds the window, shows it on a virtual X server with the demo track loaded and the sample
# models chosen, both from a scratch home, and writes a picture of it and the plan window beside
# it in its 3D view to docs/window.png (or the path given as the first argument), and with the
# plan from above to window-plan.png beside it. Also draws docs/plan.svg and the 3D view in
# docs/view3d.png with the command line.
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

build_dir=$(cd "$build_dir" && pwd)
case $output in /*) ;; *) output=$PWD/$output ;; esac
docs=$PWD/docs

# The pictures show the paths the window holds, so they are taken from a scratch home that
# holds the demo track, the models and a NoLimits directory, never from this checkout. Its path
# is fixed and neutral, so that the pictures come out the same on every machine; made in /tmp
# itself, since TMPDIR may name a place of this machine's own.
home=/tmp/designer
if [ -e "$home" ]; then
  echo "screenshot.sh: $home exists; remove it, or wait for the other run to end" >&2
  exit 1
fi
mkdir -m 700 "$home"
window_pid=
xvfb_pid=
cleanup() {
  [ -n "$window_pid" ] && kill "$window_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$home"
}
trap cleanup EXIT
mkdir -p "$home/tracks" "$home/models" "$home/nolimits" "$home/.xvfb"
mkdir -m 700 "$home/.runtime"
cp examples/demo.nltrack examples/demo-footers.nltrack "$home/tracks/"
cp examples/models/*.3ds "$home/models/"
# Everything the window and the command line keep or look up goes into the scratch home: the
# settings, the caches, the runtime files.
export HOME=$home XDG_CONFIG_HOME=$home/.config XDG_RUNTIME_DIR=$home/.runtime
unset XDG_CACHE_HOME XDG_DATA_HOME XDG_STATE_HOME

source testsupport/xvfb.sh
# A display of our own and no window manager: the window sits at the top left corner without a
# frame. Wide enough for the plan window beside the main window.
start_xvfb "$home/.xvfb" 1400x720x24

# Starts the window in the scratch home on a settings store that knows only the NoLimits
# directory and that the plan window was last left in view $1 (top or 3d), chooses the models
# and writes the screen to $2.
take() {
  rm -rf "$XDG_CONFIG_HOME"
  mkdir -p "$XDG_CONFIG_HOME/tallowmere"
  printf '[frmMain]\nnolimitsDir=%s\n\n[planWindow]\nview=%s\n' "$home/nolimits" "$1" \
    >"$XDG_CONFIG_HOME/tallowmere/basaltora.conf"
  (cd "$home" && QT_QPA_PLATFORM=xcb exec "$build_dir/bin/plinthwright" "$home/tracks/demo.nltrack") &
  window_pid=$!
  sleep 3

  # The model directory through the keyboard, as a user without a mouse would choose it: the
  # fifth widget after the file field is "select..." of the model directory. Without a window
  # manager the main window gets the focus only when asked.
  local main_window
  main_window=$(xdotool search --onlyvisible --name '(^| — )Plinthwright$' | head -n1)
  xdotool windowfocus --sync "$main_window"
  xdotool key Tab Tab Tab Tab Tab space
  sleep 1
  xdotool type --delay 20 "$home/models"
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

cd "$home"
"$build_dir/bin/plinthwright-cli" plan tracks/demo-footers.nltrack -o "$docs/plan.svg" \
  --models-dir models
# The 3D view renders through OpenGL, which it gets from the same virtual X server.
"$build_dir/bin/plinthwright-cli" plan tracks/demo-footers.nltrack -o "$docs/view3d.png" --3d \
  --models-dir models
