#!/usr/bin/env bash
# Installs what building and testing need on Debian 12, and nothing when it is all there.
# Sourced by the other scripts; extra package names may be passed as arguments.
set -euo pipefail

# zlib1g-dev: assimp's CMake package links libz.so, and libassimp-dev does not pull it in.
# desktop-file-utils, appstream: the tests check the desktop files only where these are found.
plinthwright_packages=(cmake ninja-build g++ qt6-base-dev libgtest-dev libgmock-dev
                       libbenchmark-dev qt6-qpa-plugins fonts-dejavu-core libassimp-dev
                       zlib1g-dev qt6-svg-dev desktop-file-utils appstream
                       # The 3D view: Qt OpenGL; its tests render with Mesa on a virtual X server.
                       libqt6opengl6-dev libgl1-mesa-dri libglx-mesa0 xvfb xauth
                       "$@")

missing=()
for p in "${plinthwright_packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  sudo_cmd=()
  [ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)
  echo "Installing: ${missing[*]}"
  "${sudo_cmd[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
fi
