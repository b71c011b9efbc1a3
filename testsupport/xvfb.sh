# Sourced: start_xvfb SCRATCH_DIRECTORY SCREEN [XVFB_ARGUMENT...] starts a virtual X server of
# its own, exports DISPLAY and sets xvfb_pid for the caller to stop it. Xvfb picks a free display
# and tells its number, where guessing one from the lock files in /tmp cannot see a server that
# another root or container on this machine holds (its sockets are shared all the same).
xvfb_pid=
start_xvfb() {
  local scratch=$1 screen=$2
  shift 2
  Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp "$@" 3>"$scratch/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 1 100); do
    [ -s "$scratch/display" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
  done
  [ -s "$scratch/display" ] || { echo "${0##*/}: the virtual X server did not start" >&2; return 1; }
  export DISPLAY=":$(cat "$scratch/display")"
}
