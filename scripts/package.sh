#!/usr/bin/env bash
# Builds a release, checks the desktop integration files and makes a Debian package, which lintian
# then checks (any error fails; warnings are printed).
#   scripts/package.sh          build, check, package; prints the path of the .deb
#   scripts/package.sh --try    also installs the package, starts both programs and removes it
#                               again (needs root; for a disposable machine)
set -euo pipefail
cd "$(dirname "$0")/.."

source scripts/option.sh --try "scripts/package.sh [--try]" "$@"
try_package=$option_given

# Explicit arguments: setup.sh would otherwise take ours as package names. CPack's DEB generator
# runs `file` to find the programs whose libraries go into Depends, and stops without it.
source scripts/setup.sh dpkg-dev file shared-mime-info help2man lintian

app_id=io.github.plinthwright.Plinthwright
build=build-package

check_desktop_files() {
  desktop-file-validate "packaging/$app_id.desktop"
  appstreamcli validate --no-net "packaging/$app_id.metainfo.xml"

  # The MIME type must be found by its glob once the database is built from our file alone.
  local mime
  mime=$(mktemp -d)
  mkdir "$mime/packages"
  cp "packaging/$app_id.mime.xml" "$mime/packages/"
  update-mime-database "$mime" 2>/dev/null
  grep -q '^50:application/x-nolimits-track:\*\.nltrack$' "$mime/globs2" \
    || { echo "package.sh: *.nltrack is not mapped to application/x-nolimits-track" >&2; exit 1; }
  rm -rf "$mime"
}

check_installed_tree() {
  local stage="$build/stage"
  rm -rf "$stage"
  cmake --install "$build" --prefix "$stage" >/dev/null
  local f
  for f in bin/plinthwright bin/plinthwright-cli libexec/plinthwright/plinthwright-model-reader \
           "share/applications/$app_id.desktop" "share/metainfo/$app_id.metainfo.xml" \
           "share/mime/packages/$app_id.xml" \
           "share/icons/hicolor/scalable/apps/$app_id.svg" \
           "share/icons/hicolor/128x128/apps/$app_id.png" \
           share/man/man1/plinthwright.1.gz share/man/man1/plinthwright-cli.1.gz \
           share/bash-completion/completions/plinthwright-cli \
           share/doc/plinthwright/copyright share/doc/plinthwright/changelog.gz \
           share/plinthwright/examples/demo.nltrack \
           share/plinthwright/examples/models/default.3ds; do
    [ -e "$stage/$f" ] || { echo "package.sh: the install lacks $f" >&2; exit 1; }
  done
  # The installed command line finds the installed reader: no model of the demo is a square.
  local printed
  printed=$(QT_QPA_PLATFORM=offscreen "$stage/bin/plinthwright-cli" plan \
    "$stage/share/plinthwright/examples/demo.nltrack" -o "$stage/plan.png" \
    --models-dir "$stage/share/plinthwright/examples/models" 2>&1)
  grep -q '^Written: ' <<<"$printed" && ! grep -q 'warning' <<<"$printed" ||
    { echo "package.sh: the installed plan does not read its models: $printed" >&2; exit 1; }
}

# help2man reads --help by its layout: the options, the exit status and the examples must come out
# as the man page's own sections.
check_man_page() {
  local page
  page=$(zcat "$build/packaging/plinthwright-cli.1.gz")
  local part
  for part in '.SH SYNOPSIS' '.SH DESCRIPTION' '.SS "Commands:"' '.SH OPTIONS' \
              '.SS "Exit status:"' '.SH EXAMPLES' '\fB\-\-xxlarge\fR' '.BR plinthwright (1)'; do
    grep -qF -- "$part" <<<"$page" ||
      { echo "package.sh: the man page of plinthwright-cli lacks $part" >&2; exit 1; }
  done
}

check_desktop_files
# Debian's hardening (stack protector, fortified C library calls, read-only relocations bound at
# start); our Release optimisation comes after its -O2 and wins.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPLINTHWRIGHT_BUILD_TESTS=OFF \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build"
check_man_page
check_installed_tree
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(realpath "$build"/plinthwright_*.deb)
dpkg-deb --field "$deb" Package Version Depends
# Errors fail the script; warnings are printed (there are none today).
lintian --fail-on error --tag-display-limit 0 "$deb" >&2

if $try_package; then
  [ "$(id -u)" -eq 0 ] || { echo "package.sh: --try needs root" >&2; exit 1; }
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "$deb" >/dev/null
  trap 'DEBIAN_FRONTEND=noninteractive apt-get remove -y -qq plinthwright >/dev/null' EXIT
  plinthwright-cli --version
  for f in /usr/libexec/plinthwright/plinthwright-model-reader /usr/share/man/man1/plinthwright-cli.1.gz /usr/share/man/man1/plinthwright.1.gz \
           /usr/share/bash-completion/completions/plinthwright-cli; do
    [ -f "$f" ] || { echo "package.sh: the installed package lacks $f" >&2; exit 1; }
  done
  # A window that is still running when the timeout ends has started: status 124.
  status=0
  QT_QPA_PLATFORM=offscreen timeout 3 plinthwright || status=$?
  [ "$status" -eq 124 ] || { echo "package.sh: plinthwright exited with $status" >&2; exit 1; }
  echo "installed package starts; removing it again"
fi

echo "$deb"
