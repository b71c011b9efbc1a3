#!/usr/bin/env bash
# Runs the README's commands on a fresh machine: a minimal Debian 12 root made with
# `debootstrap --variant=minbase bookworm` from the Debian registry this machine's apt sources
# name, holding a clone of the committed tree (HEAD; no build directories). From an
# empty environment, as a bare login has it, the root runs scripts/test.sh to the end and
# scripts/run.sh --build-only, then scripts/package.sh; a second fresh root installs that .deb
# with apt-get and runs the installed command line on the demo track and starts the window.
# Needs root (debootstrap, chroot, mounts) and a Debian host; installs debootstrap and git when
# missing.
#   scripts/test-fresh.sh                   all of the above
#   scripts/test-fresh.sh --no-deb          without the package and the second root
#   scripts/test-fresh.sh -- COMMAND...     runs these commands (each one line for bash) in the
#                                           root instead, e.g. -- "scripts/screenshot.sh /tmp/w.png"
# For iterating on this script, not for CI:
#   --keep        leaves the roots in place (their /proc and /dev unmounted) and prints where
#   --cache DIR   keeps the pristine base root (a tarball) and the downloaded packages in DIR and
#                 takes them from there next time: the roots are still new, the downloads are not
# Prints every step's time and ends with "N passed, M failed" over the steps; exits non-zero
# when a step fails, and stops there.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD

with_deb=true
keep=false
cache=
commands=()
while [ $# -gt 0 ]; do
  case "$1" in
    --no-deb) with_deb=false ;;
    --keep) keep=true ;;
    --cache) cache=$(realpath -m "${2:?--cache needs a directory}"); shift ;;
    --) shift; commands=("$@"); with_deb=false; break ;;
    *) echo "usage: scripts/test-fresh.sh [--no-deb] [--keep] [--cache DIR] [-- COMMAND...]" >&2
       exit 2 ;;
  esac
  shift
done
[ ${#commands[@]} -gt 0 ] || commands=(scripts/test.sh "scripts/run.sh --build-only")

[ "$(id -u)" -eq 0 ] || { echo "test-fresh.sh: needs root (debootstrap, chroot, mount)" >&2; exit 1; }
missing=()
command -v debootstrap >/dev/null || missing+=(debootstrap)
command -v git >/dev/null || missing+=(git)
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  apt-get update -qq
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" \
    >/dev/null
fi
git -C "$source_dir" rev-parse --verify -q HEAD >/dev/null ||
  { echo "test-fresh.sh: needs a git repository: the root gets its committed tree" >&2; exit 1; }
if [ -n "$(git -C "$source_dir" status --porcelain --untracked-files=no)" ]; then
  echo "test-fresh.sh: note: uncommitted changes are not in the root; it gets HEAD"
fi

# The Debian stanzas of the machine's own apt sources (deb only), in the deb822 format.
host_sources() {
  local f
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk 'BEGIN { RS = ""; ORS = "" }
      {
        n = split($0, line, "\n"); binary = 0; text = ""
        for (i = 1; i <= n; ++i) {
          if (line[i] ~ /^Types:/) {
            if ((line[i] " ") ~ /[: ]deb /) binary = 1
            line[i] = "Types: deb"
          }
          text = text line[i] "\n"
        }
        if (binary && text ~ /URIs:[^\n]*debian/) print text "\n"
      }' "$f"
  done
  # A classic one-line sources.list (options in brackets dropped), turned into the same form.
  [ -f /etc/apt/sources.list ] && sed -E 's/^deb +\[[^]]*\] +/deb /' /etc/apt/sources.list |
    awk '$1 == "deb" && $2 ~ /debian/ {
      uri = $2; suite = $3; $1 = $2 = $3 = ""; sub(/^ +/, "")
      printf "Types: deb\nURIs: %s\nSuites: %s\nComponents: %s\n\n", uri, suite, $0
    }'
  return 0
}
sources=$(host_sources)
# debootstrap takes the first archive that serves bookworm itself (not its security updates).
mirror=$(printf '%s\n' "$sources" | awk 'BEGIN { RS = "" }
  /\nSuites:[^\n]*bookworm( |\n|$)/ && !/security/ {
    match($0, /URIs: *[^ \n]+/); split(substr($0, RSTART, RLENGTH), u, / +/); print u[2]; exit
  }')
[ -n "$mirror" ] || { echo "test-fresh.sh: no Debian archive serving bookworm in /etc/apt/sources*" >&2; exit 1; }

work=$(mktemp -d /var/tmp/plinthwright-fresh.XXXXXX)
step_pid=

# The process $1 and everything it started, children first.
process_tree() {
  local f line state_on pid ppid
  for f in /proc/[0-9]*/stat; do
    line=$(cat "$f" 2>/dev/null) || continue
    state_on=${line##*) }
    pid=${f#/proc/}
    pid=${pid%/stat}
    read -r _ ppid _ <<<"$state_on"
    [ "$ppid" = "$1" ] && process_tree "$pid"
  done
  echo "$1"
}

# What still runs inside a root (a wineserver, an X server...) holds its mounts.
stop_processes_in() {
  local root=$1 pid pids signal
  for signal in TERM KILL; do
    pids=()
    for pid in /proc/[0-9]*; do
      [ "$(readlink "$pid/root" 2>/dev/null)" = "$root" ] && pids+=("${pid#/proc/}")
    done
    [ ${#pids[@]} -eq 0 ] && return 0
    kill -s "$signal" "${pids[@]}" 2>/dev/null || true
    sleep 2
  done
}

mounts_below_work() {
  awk -v w="$work/" 'index($5, w) == 1 { print $5 }' /proc/self/mountinfo
}

cleanup() {
  local status=$? root mount
  if [ -n "$step_pid" ]; then
    kill $(process_tree "$step_pid") 2>/dev/null || true
    wait "$step_pid" 2>/dev/null || true
  fi
  for root in "$work"/base "$work"/root-*; do
    [ -d "$root" ] && stop_processes_in "$root"
  done
  # The latest mount first: /dev/shm before /dev.
  for mount in $(mounts_below_work | tac); do
    umount "$mount" 2>/dev/null || umount -l "$mount" ||
      echo "test-fresh.sh: could not unmount $mount" >&2
  done
  if [ -n "$(mounts_below_work)" ]; then
    # Never delete below a mount: /dev is the machine's own.
    echo "test-fresh.sh: something is still mounted below $work; left in place" >&2
  elif $keep; then
    echo "The roots are kept in $work"
  else
    local started=$SECONDS
    rm -rf --one-file-system "$work"
    echo "Removed the roots in $((SECONDS - started)) s"
  fi
  exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM

mount_into() {
  local root=$1
  mount -t proc proc "$root/proc"
  mount --bind /dev "$root/dev"
  # Nothing mounted below it may reach the machine's /dev.
  mount --make-private "$root/dev"
  # apt keeps its terminal log through a pseudo-terminal.
  mount --bind /dev/pts "$root/dev/pts"
  # fuzz.sh keeps its scratch files in /dev/shm: a memory of the root's own.
  mount -t tmpfs -o mode=1777 shm "$root/dev/shm"
  if [ -n "$cache" ]; then
    mkdir -p "$cache/archives/partial"
    mount --bind "$cache/archives" "$root/var/cache/apt/archives"
  fi
}

# Runs a command line in the root from an empty environment, as a login shell there would.
in_root() {
  local root=$1 dir=$2 line=$3
  chroot "$root" /usr/bin/env -i PATH=/usr/local/sbin:/usr/local/bin:/usr/sbin:/usr/bin:/sbin:/bin \
    HOME=/root TERM="${TERM:-dumb}" /bin/bash -l -c "cd $dir && $line" </dev/null
}

names=()
seconds=()
passed=0
failed=0
summary() {
  local i
  echo
  echo "Fresh Debian 12 root ($(nproc) cores), step times:"
  for i in "${!names[@]}"; do
    printf '  %6s s  %s\n' "${seconds[$i]}" "${names[$i]}"
  done
  echo "$passed passed, $failed failed"
}
# Runs a step under errexit, records its time, and on failure ends the whole run. The step runs
# in the background so that an interrupt is handled at once, not when the step ends.
step() {
  local name=$1
  shift
  echo
  echo "== $name"
  local started=$SECONDS status=0
  (set -e; "$@") &
  step_pid=$!
  wait "$step_pid" || status=$?
  step_pid=
  names+=("$name")
  seconds+=($((SECONDS - started)))
  if [ "$status" -eq 0 ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    names[-1]="$name: FAILED (exit $status)"
    summary
    exit 1
  fi
}

base=$work/base.tar
[ -n "$cache" ] && base=$cache/base-bookworm-minbase.tar
make_base() {
  if [ -f "$base" ]; then
    echo "the pristine base root from $base"
    return
  fi
  local root=$work/base
  debootstrap --variant=minbase bookworm "$root" "$mirror" >"$work/debootstrap.log" 2>&1 ||
    { tail -n 30 "$work/debootstrap.log"; return 1; }
  # The root takes its packages from the archives the machine's own sources name.
  rm -f "$root/etc/apt/sources.list"
  printf '%s\n' "$sources" >"$root/etc/apt/sources.list.d/debian.sources"
  mkdir -p "$(dirname "$base")"
  tar -C "$root" -cf "$base.part" .
  mv "$base.part" "$base"
  rm -rf --one-file-system "$root"
}
new_root() {
  local root=$1
  mkdir "$root"
  tar -C "$root" -xf "$base"
  mount_into "$root"
}
# A clone of HEAD alone, as a newcomer has it: the committed files and .git, no build directories.
copy_tree() {
  local tree=$1/root/plinthwright
  git -c init.defaultBranch=main init -q "$tree"
  git -C "$tree" fetch -q --depth=1 "file://$source_dir" HEAD
  git -C "$tree" checkout -q FETCH_HEAD
}

root_a=$work/root-build
step "debootstrap --variant=minbase bookworm $mirror" make_base
# Separate commands, not a list joined by &&: errexit covers the functions' insides only so.
step "a fresh root with the committed tree" eval 'new_root "$root_a"; copy_tree "$root_a"'
for line in "${commands[@]}"; do
  step "$line" in_root "$root_a" /root/plinthwright "$line"
done

if $with_deb; then
  step "scripts/package.sh" in_root "$root_a" /root/plinthwright scripts/package.sh
  root_b=$work/root-install
  install_deb() {
    new_root "$root_b"
    cp "$root_a"/root/plinthwright/build-package/plinthwright_*.deb "$root_b/tmp/"
    in_root "$root_b" /tmp 'apt-get update -qq &&
      DEBIAN_FRONTEND=noninteractive apt-get install -y -qq ./plinthwright_*.deb >/dev/null'
  }
  step "a second fresh root: apt-get install ./plinthwright_*.deb" install_deb
  step "plinthwright-cli info /usr/share/plinthwright/examples/demo.nltrack" \
    in_root "$root_b" /tmp 'plinthwright-cli info /usr/share/plinthwright/examples/demo.nltrack'
  # A window still running when the timeout ends has started: status 124.
  step "plinthwright starts (offscreen)" in_root "$root_b" /tmp \
    'status=0; QT_QPA_PLATFORM=offscreen timeout 5 plinthwright || status=$?; [ "$status" -eq 124 ]'
fi

summary
