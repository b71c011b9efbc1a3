#!/usr/bin/env bash
# Cross-builds the Windows zip and installer on Debian 12 and smoke-tests both under wine:
#   build-windows/plinthwright-windows.zip
#   build-windows/plinthwright-setup.exe     (scripts/windows-installer.sh)
# Qt and assimp for Windows are built once from Debian's own source packages and cached in
# ~/.cache/plinthwright (PLINTHWRIGHT_CACHE overrides); later runs reuse them.
#   scripts/build-windows.sh               everything: libraries, programs, zip, smoke test
#   scripts/build-windows.sh --deps-only   only Qt and assimp for Windows
# Ends with "N passed, M failed" and exits non-zero when a step or a smoke test fails.
set -euo pipefail
cd "$(dirname "$0")/.."
source_dir=$PWD
source scripts/option.sh --deps-only "scripts/build-windows.sh [--deps-only]" "$@"
deps_only=$option_given
set --
# Wine takes the arguments' encoding from the locale, and the smoke test's paths are not ASCII:
# a UTF-8 locale whatever the caller's environment holds (an empty one has none).
export LANG=C.UTF-8 LC_ALL=C.UTF-8

source scripts/setup.sh g++-mingw-w64-x86-64-posix wine64 dpkg-dev libz-mingw-w64-dev \
  libutfcpp-dev libstb-dev xdotool imagemagick zip unzip nsis

# The installer's build and checks.
source scripts/windows-installer.sh

cache=${PLINTHWRIGHT_CACHE:-$HOME/.cache/plinthwright}
toolchain=$source_dir/cmake/mingw-w64-x86_64.cmake
qt_version=6.4.2
# Changes with the configuration below, so that a cached Qt of another one is built again.
qt_config=opengl-freetype
qt_prefix=$cache/qt6-mingw
assimp_prefix=$cache/assimp-mingw
jobs=$(nproc)
mkdir -p "$cache/src"

sudo_cmd=()
[ "$(id -u)" -ne 0 ] && sudo_cmd=(sudo)

# apt-get source needs deb-src entries for the Debian registry the machine already installs from.
ensure_source_entries() {
  [ -n "$(apt-cache showsrc qt6-base 2>/dev/null)" ] && return
  local list=/etc/apt/sources.list.d/plinthwright-deb-src.sources
  echo "Adding deb-src entries for the configured Debian archives: $list"
  local entries=""
  for f in /etc/apt/sources.list.d/*.sources; do
    grep -q 'debian' "$f" || continue
    entries+=$(sed -n '/^Types: *deb *$/,/^$/p' "$f" | sed 's/^Types:.*/Types: deb-src/')
    entries+=$'\n\n'
  done
  if [ -z "$entries" ]; then
    # A classic one-line sources.list.
    entries=$(grep -h '^deb ' /etc/apt/sources.list 2>/dev/null | sed 's/^deb /deb-src /')
    list=/etc/apt/sources.list.d/plinthwright-deb-src.list
  fi
  printf '%s\n' "$entries" | "${sudo_cmd[@]}" tee "$list" >/dev/null
  "${sudo_cmd[@]}" apt-get update -qq
}

# Unpacks Debian's source package $1 (with Debian's patches) into $cache/src/$1.
fetch_source() {
  local package=$1
  [ -f "$cache/src/$package/.unpacked" ] && return
  ensure_source_entries
  (
    cd "$cache/src"
    apt-get source --download-only "$package"
    rm -rf "$package"
    dpkg-source -x "$(ls -t "${package}"_*.dsc | head -n1)" "$package" >/dev/null
    touch "$package/.unpacked"
  )
}

# Qt Core, Gui, Widgets, OpenGL (desktop, for the 3D view) and the qwindows platform plugin, with
# Qt's own FreeType for drawing text; what the programs never use is left out (no Direct2D,
# network, SQL...).
# No Qt Svg: Debian's archive answers 404 for its sources here, so the Windows programs write
# plans as PNG only. An interrupted build continues where it stopped.
build_qt() {
  [ -f "$qt_prefix/.complete-$qt_version-$qt_config" ] && return
  fetch_source qt6-base
  # Debian's sources leave out Wacom's wintab.h; the platform plugin goes without the old
  # Wintab tablet support (pens still work through Windows' own pointer messages).
  local plugin=$cache/src/qt6-base/src/plugins/platforms/windows
  if [ ! -f "$plugin/.without-wintab" ]; then
    sed -i 's/QT_CONFIG(tabletevent)/0 \/* no wintab.h *\//' "$plugin/qwindowscontext.cpp"
    sed -i '/^#if QT_CONFIG(tabletevent)$/{N;s/^#if QT_CONFIG(tabletevent)\n\(#  include "qwindowstabletsupport.h"\)/#if 0 \/* no wintab.h *\/\n\1/}' \
      "$plugin/qwindowspointerhandler.cpp"
    sed -i 's/CONDITION QT_FEATURE_tabletevent/CONDITION OFF/' "$plugin/CMakeLists.txt"
    touch "$plugin/.without-wintab"
  fi
  # Qt Gui builds its DirectWrite font database only along with Direct2D (left out here); the
  # plugin then uses the default GDI one, as it does unless told otherwise.
  if [ ! -f "$plugin/.without-direct2d" ]; then
    sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' \
      "$plugin/qwindowsintegration.cpp"
    touch "$plugin/.without-direct2d"
  fi
  local build=$cache/build/qt6-base-$qt_config
  local started=$SECONDS
  mkdir -p "$build"
  (
    cd "$build"
    [ -f build.ninja ] || "$cache/src/qt6-base/configure" -prefix "$qt_prefix" -release -shared \
      -xplatform win32-g++ -qt-host-path /usr -nomake examples -nomake tests \
      -opengl desktop -no-dbus -no-icu -no-openssl -no-zstd -no-gif -no-ico -no-libjpeg \
      -qt-freetype -qt-zlib -qt-libpng -qt-pcre -qt-harfbuzz -qt-doubleconversion \
      -no-feature-sql -no-feature-network -no-feature-printsupport -no-feature-testlib \
      -no-feature-concurrent -no-feature-xml -no-feature-vulkan -no-feature-direct2d \
      -- -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
         -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
    nice -n 19 cmake --build . --parallel "$jobs"
    cmake --install . >/dev/null
  )
  touch "$qt_prefix/.complete-$qt_version-$qt_config"
  echo "Qt for Windows built in $(( (SECONDS - started) / 60 )) min"
}

# assimp reads the footer models (3ds) for the plan window: a static library with only that
# importer. Debian's sources take utf8cpp, stb_image and zlib from Debian's packages (the host's
# pkg-config would offer the host's minizip, so it is not asked).
build_assimp() {
  [ -f "$assimp_prefix/.complete" ] && return
  fetch_source assimp
  # Debian's build links the system's draco (for glTF, which is left out here): undone.
  if [ ! -f "$cache/src/assimp/.without-draco" ]; then
    patch -d "$cache/src/assimp" -R -p1 -s <"$cache/src/assimp/debian/patches/use-system-libdraco.patch"
    touch "$cache/src/assimp/.without-draco"
  fi
  # Its zip reader comes from minizip, which Debian's sources leave out: Debian's minizip.
  fetch_source minizip
  local unzip=$cache/src/assimp/contrib/unzip
  mkdir -p "$unzip"
  cp "$cache/src/minizip"/{unzip.c,unzip.h,ioapi.c,ioapi.h,crypt.h} "$unzip/"
  : >"$unzip/crypt.c"  # listed by assimp's build; minizip keeps all of it in crypt.h
  local build=$cache/build/assimp
  mkdir -p "$build/include/stb"
  # Only these two header-only libraries, not the host's whole /usr/include.
  cp -r /usr/include/utf8cpp/. "$build/include/"
  cp /usr/include/stb/stb_image.h "$build/include/stb/"
  cmake -S "$cache/src/assimp" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_INSTALL_PREFIX="$assimp_prefix" \
    -DCMAKE_CXX_FLAGS="-I$build/include" -DCMAKE_C_FLAGS="-I$build/include" \
    -DBUILD_SHARED_LIBS=OFF -DASSIMP_BUILD_ZLIB=OFF -DCMAKE_DISABLE_FIND_PACKAGE_PkgConfig=ON \
    -DZLIB_LIBRARY=/usr/x86_64-w64-mingw32/lib/libz.a \
    -DZLIB_INCLUDE_DIR=/usr/x86_64-w64-mingw32/include \
    -DASSIMP_BUILD_ALL_IMPORTERS_BY_DEFAULT=OFF -DASSIMP_BUILD_3DS_IMPORTER=ON \
    -DASSIMP_NO_EXPORT=ON -DASSIMP_BUILD_ASSIMP_TOOLS=OFF -DASSIMP_BUILD_TESTS=OFF \
    -DASSIMP_BUILD_SAMPLES=OFF -DASSIMP_BUILD_DOCS=OFF -DASSIMP_INSTALL_PDB=OFF \
    -DASSIMP_WARNINGS_AS_ERRORS=OFF -DASSIMP_IGNORE_GIT_HASH=ON >/dev/null
  nice -n 19 cmake --build "$build" --parallel "$jobs"
  cmake --install "$build" >/dev/null
  touch "$assimp_prefix/.complete"
}

build_assimp
build_qt
$deps_only && exit 0

# ---- The programs and the zip ----------------------------------------------------------------
out=build-windows
win_build=$out/cmake
stage=$out/plinthwright
zip_file=$out/plinthwright-windows.zip

build_programs() {
  # Qt's toolchain file finds Qt and its host tools, then loads ours for the compiler.
  cmake -S . -B "$win_build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$qt_prefix/lib/cmake/Qt6/qt.toolchain.cmake" \
    -DQT_CHAINLOAD_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_PREFIX_PATH="$assimp_prefix" -DCMAKE_FIND_ROOT_PATH="$assimp_prefix" \
    -DPLINTHWRIGHT_BUILD_TESTS=OFF -DPLINTHWRIGHT_PLAN_SVG=OFF >/dev/null
  cmake --build "$win_build" --target plinthwright plinthwright-cli plinthwright-model-reader
}

# Copies every DLL the programs and plugins in the stage load, and those these load in turn,
# from Qt's and MinGW's directories; Windows' own DLLs are found in neither and stay out.
copy_dependencies() {
  local search=("$qt_prefix/bin" /usr/lib/gcc/x86_64-w64-mingw32/12-posix
                /usr/x86_64-w64-mingw32/lib /usr/x86_64-w64-mingw32/bin)
  local pending=("$stage"/*.exe "$stage"/*/*.dll)
  while [ ${#pending[@]} -gt 0 ]; do
    local file=${pending[0]}
    pending=("${pending[@]:1}")
    local dll
    for dll in $(x86_64-w64-mingw32-objdump -p "$file" | sed -n 's/^\s*DLL Name: //p'); do
      [ -e "$stage/$dll" ] && continue
      local dir
      for dir in "${search[@]}"; do
        if [ -f "$dir/$dll" ]; then
          cp "$dir/$dll" "$stage/"
          pending+=("$stage/$dll")
          break
        fi
      done
    done
  done
}

# Text is drawn by Qt's own FreeType engine. Windows' GDI engine measures a line of text by the
# font's Windows line metrics (tmHeight), which for some fonts are several times the font's size
# (under wine, whose "MS Shell Dlg" falls back to such a font, 46 px for an 11 px font): line
# edits and spin boxes centre that height in their box and draw their text, selection and cursor
# outside it. FreeType measures by the font's typographic metrics, as on Linux.
write_qt_conf() {
  printf '[Platforms]\r\nWindowsArguments = fontengine=freetype\r\n' >"$stage/qt.conf"
}

write_readme() {
  sed 's/$/\r/' >"$stage/README.txt" <<'TEXT'
Plinthwright for Windows
========================

Places footer models (3ds) on the support tubes of a NoLimits Coaster track that stand on
fundaments, copies the models into the simulator's objects directory and saves the track.

plinthwright-setup.exe installs it with a Start menu entry, opens .nltrack files on a
double-click and can be uninstalled in "Apps & features". Without installing: unpack the zip
anywhere and double-click plinthwright.exe. Keep the files together; the program needs the DLLs,
qt.conf and the plugin folders beside it.

The window: open a track (.nltrack), choose the directory with your footer models, select the
simulator's directory, then Generate and Save. The examples folder holds a demo track and sample
models (examples\models) to try it with.

The command line, from a command prompt in this folder:
  plinthwright-cli.exe --help
  plinthwright-cli.exe info examples\demo.nltrack
  plinthwright-cli.exe generate examples\demo.nltrack -o my-demo.nltrack ^
      --nolimits-dir "C:\Program Files\NoLimits 2" --models-dir examples\models
  plinthwright-cli.exe plan examples\demo.nltrack -o plan.png --models-dir examples\models
(This build writes plans as PNG only; SVG output is not available in it.)

The window keeps its settings (the simulator's directory) in the registry under
HKEY_CURRENT_USER\Software\tallowmere\basaltora.
TEXT
}

pack() {
  rm -rf "$stage" "$zip_file"
  mkdir -p "$stage/platforms" "$stage/styles" "$stage/examples"
  cp "$win_build/bin/plinthwright.exe" "$win_build/bin/plinthwright-cli.exe" \
    "$win_build/bin/plinthwright-model-reader.exe" "$stage/"
  cp "$qt_prefix/plugins/platforms/qwindows.dll" "$stage/platforms/"
  cp "$qt_prefix/plugins/styles/qwindowsvistastyle.dll" "$stage/styles/"
  local plugins
  for plugins in imageformats iconengines; do
    if [ -d "$qt_prefix/plugins/$plugins" ]; then
      mkdir -p "$stage/$plugins" && cp "$qt_prefix/plugins/$plugins"/*.dll "$stage/$plugins/"
    fi
  done
  copy_dependencies
  # Debian's MinGW runtime DLLs carry their symbols (libstdc++ alone 23 MB).
  x86_64-w64-mingw32-strip --strip-unneeded "$stage"/*.exe "$stage"/*.dll "$stage"/*/*.dll
  cp -r examples/demo.nltrack examples/demo-footers.nltrack examples/models "$stage/examples/"
  write_qt_conf
  write_readme
  (cd "$out" && zip -qr "$(basename "$zip_file")" "$(basename "$stage")")
  echo "Wrote $zip_file ($(du -h "$zip_file" | cut -f1))"
}

# The installer holds what the zip holds; its version is the project's.
setup_file=$out/plinthwright-setup.exe
make_installer() {
  local version
  version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$win_build/CMakeCache.txt")
  build_installer "$stage" "$version" "$setup_file"
}

started=$SECONDS
mkdir -p "$out"
build_programs
pack
make_installer
echo "Programs built and packed in $(( SECONDS - started )) s"

# ---- Smoke test under wine -------------------------------------------------------------------
# The unpacked zip runs under wine on a virtual X server; the Linux build of the command line
# gives the outputs the Windows programs must match.
cmake --preset default >/dev/null
cmake --build build --target plinthwright-cli >/dev/null
linux_cli=$PWD/build/bin/plinthwright-cli

wine=/usr/lib/wine/wine64
wineserver=/usr/lib/wine/wineserver
export WINEDEBUG=-all
export WINEPREFIX=$PWD/$out/wineprefix

smoke=$PWD/$out/smoke
rm -rf "$smoke"
mkdir -p "$smoke/linux" "$smoke/windows"
cp -r examples "$smoke/linux/"
unzip -q "$zip_file" -d "$smoke/windows"
windows_root=$smoke/windows/plinthwright

source testsupport/xvfb.sh
cleanup() {
  "$wineserver" -k 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
start_xvfb "$smoke" 1280x1024x24 -noreset
mkdir -p "$WINEPREFIX"
"$wine" wineboot --init >/dev/null 2>&1 || true

source scripts/check.sh

# Runs the Linux command line in the Linux root, the Windows one in the unpacked zip (paths with
# backslashes); stdout and the exit code go to $1.{out,code}, with Windows' line ends removed.
run_linux() {
  local name=$1
  shift
  (cd "$smoke/linux" && {
    status=0
    "$linux_cli" "$@" >"$smoke/$name.linux.out" 2>&1 || status=$?
    echo "$status" >"$smoke/$name.linux.code"
  })
}
run_windows() {
  local name=$1
  shift
  local args=() arg
  for arg in "$@"; do args+=("${arg//\//\\}"); done
  # A failing run is recorded, not taken as the script's own failure.
  (cd "$windows_root" && {
    status=0
    "$wine" plinthwright-cli.exe "${args[@]}" 2>&1 || status=$?
    echo "$status" >"$smoke/$name.windows.code"
  } | tr -d '\r' | tr '\\' / >"$smoke/$name.windows.out")
}
same_run() {
  cmp -s "$smoke/$1.linux.code" "$smoke/$1.windows.code" &&
    diff "$smoke/$1.linux.out" "$smoke/$1.windows.out" && [ "$(cat "$smoke/$1.windows.code")" = 0 ]
}
same_tree() {
  diff -r "$smoke/linux/$1" "$windows_root/$1" >/dev/null
}

run_windows version --version
check "plinthwright-cli.exe --version" grep -q "^plinthwright-cli " "$smoke/version.windows.out"

run_linux info info examples/demo.nltrack
run_windows info info examples/demo.nltrack
check "info examples\\demo.nltrack prints the demo's counts as on Linux" same_run info

mkdir -p "$smoke/linux/NoLimits" "$windows_root/NoLimits"
generate=(generate examples/demo.nltrack -o demo-out.nltrack --nolimits-dir NoLimits
          --models-dir examples/models)
run_linux generate "${generate[@]}"
run_windows generate "${generate[@]}"
check "generate reports as on Linux" same_run generate
check "generate writes the same bytes as on Linux" \
  cmp "$smoke/linux/demo-out.nltrack" "$windows_root/demo-out.nltrack"
check "generate copies the same models as on Linux" same_tree NoLimits

# A folder and a track outside ASCII, the simulator's directory too; saved over the input.
# Makes the directory $1 and a copy of the demo track as $2 in both roots.
prepare_both_roots() {
  local root
  for root in "$smoke/linux" "$windows_root"; do
    mkdir -p "$root/$1"
    cp examples/demo.nltrack "$root/$2"
  done
}
track='Übung/Achterbahn-Ü.nltrack'
nolimits='Übung/NoLimits ÄÖ'
prepare_both_roots "$nolimits" "$track"
run_linux accents-info info "$track"
run_windows accents-info info "$track"
check "info opens ${track//\//\\}" same_run accents-info
accents=(generate "$track" -o "$track" --nolimits-dir "$nolimits" --models-dir examples/models)
run_linux accents-generate "${accents[@]}"
run_windows accents-generate "${accents[@]}"
check "generate saves over ${track//\//\\} as on Linux" same_run accents-generate
check "it holds the same bytes as on Linux" cmp "$smoke/linux/$track" "$windows_root/$track"
check "the models are copied below ${nolimits//\//\\} as on Linux" same_tree "${track%%/*}"

# Plans: PNG is written (text and all drawn by the Windows platform, no display needed); this
# build has no Qt Svg, so an SVG is refused in one line and nothing is written.
run_windows plan-png plan examples/demo.nltrack -o plan.png --models-dir examples/models
check "plan -o plan.png writes a PNG" \
  test "$(cat "$smoke/plan-png.windows.code")" = 0 -a \
  "$(head -c 8 "$windows_root/plan.png" 2>/dev/null | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a
[ -f "$windows_root/plan.png" ] && cp "$windows_root/plan.png" "$out/plan.png" && echo "      plan: $out/plan.png"
# Every model is read by plinthwright-model-reader.exe beside the program: none is a square.
read_through_the_reader() {
  grep -q '^Written: ' "$smoke/$1.windows.out" && ! grep -q 'warning' "$smoke/$1.windows.out"
}
check "plan reads every model through the model reader, none drawn as a square" \
  read_through_the_reader plan-png
run_windows plan-svg plan examples/demo.nltrack -o plan.svg
check "plan -o plan.svg is refused: SVG output is not available, nothing written" \
  test "$(cat "$smoke/plan-svg.windows.code")" = 1 -a ! -e "$windows_root/plan.svg" -a \
  "$(cat "$smoke/plan-svg.windows.out")" = \
  "plinthwright-cli: Cannot save \"plan.svg\": SVG output is not available in this build; write a .png"

# The 3D view: the command line renders it through an OpenGL context of its own (wine hands
# OpenGL to the X server's Mesa). Every size class shows in its colour, lit.
# Prints, for each size class's colour, how many pixels of IMAGE are a lit shade of it (the colour
# scaled by the light's factor of 0.4 to 1): "small medium large x-large xx-large".
lit_class_pixels() {
  convert "$1" -format %c histogram:info:- | awk '
    BEGIN { split("31 119 180 44 160 44 255 127 14 214 39 40 148 103 189", c, " ")
            for (i = 0; i < 5; i++) { r[i] = c[3*i+1]; g[i] = c[3*i+2]; b[i] = c[3*i+3]; n[i] = 0 } }
    function abs(x) { return x < 0 ? -x : x }
    match($0, /\( *[0-9]+, *[0-9]+, *[0-9]+/) {
      count = $1 + 0
      split(substr($0, RSTART + 1, RLENGTH - 1), p, /, */)
      for (i = 0; i < 5; i++) {
        f = (p[1] * r[i] + p[2] * g[i] + p[3] * b[i]) / (r[i] * r[i] + g[i] * g[i] + b[i] * b[i])
        if (f < 0.39 || f > 1.01) continue
        if (abs(p[1] - f * r[i]) <= 2.5 && abs(p[2] - f * g[i]) <= 2.5 && abs(p[3] - f * b[i]) <= 2.5)
          n[i] += count
      }
    }
    END { print n[0], n[1], n[2], n[3], n[4] }'
}
every_class_lit() {
  local counts least=$2
  counts=$(lit_class_pixels "$1") || return 1
  echo "      lit pixels per class (small to xx-large): $counts"
  for count in $counts; do [ "$count" -ge "$least" ] || return 1; done
}
run_windows plan-3d plan examples/demo-footers.nltrack -o plan-3d.png --3d --models-dir examples/models
check "plan --3d writes a 1280 x 800 PNG of the 3D view with every size class in its colour" \
  eval 'test "$(cat "$smoke/plan-3d.windows.code")" = 0 &&
    test "$(identify -format %wx%h "$windows_root/plan-3d.png" 2>/dev/null)" = 1280x800 &&
    every_class_lit "$windows_root/plan-3d.png" 20'
check "plan --3d reads every model through the model reader too" read_through_the_reader plan-3d
[ -f "$windows_root/plan-3d.png" ] && cp "$windows_root/plan-3d.png" "$out/plan-3d.png" &&
  echo "      3D plan: $out/plan-3d.png"

# The window: started with a track, it shows itself titled "Plinthwright" and no warning that
# the track could not be opened.
window_shows() {
  local i
  for i in $(seq 1 60); do
    xdotool search --name '^Plinthwright$' >/dev/null 2>&1 && return 0
    sleep 1
  done
  return 1
}
opens_without_warning() {
  window_shows || return 1
  sleep 3
  ! xdotool search --name '^Open NlTrack file$' >/dev/null 2>&1
}
# Line edits and spin boxes draw their text: in a screenshot of the main window with a track
# open, the track field (the topmost wide white box) and the five scale boxes (five boxes of one
# size, one above the other) each hold pixels clearly darker than their own background.
texts_drawn_in() {
  local shot=$1 background
  # The window's own grey is its most frequent colour.
  background=$(convert "$shot" -format %c histogram:info:- | sort -rn | head -n1 |
    sed -n 's/.*\(#[0-9A-Fa-f]\{6\}\).*/\1/p')
  # The inner areas of the boxes, as connected areas of one colour: "WxH+X+Y" each.
  areas_of() {
    convert "$shot" -fill black +opaque "$1" -fill white -opaque "$1" \
      -define connected-components:verbose=true -define connected-components:area-threshold=80 \
      -connected-components 4 null: | awk '$NF ~ /255,255,255|gray\(255\)|#FFFFFF/ {print $2}'
  }
  # Whether the left $2 percent of area $1 holds a pixel clearly darker than its own colour.
  holds_text() {
    local w h x y
    IFS='x+' read -r w h x y <<<"$1"
    local darkest lightest
    read -r darkest lightest < <(convert "$shot" -crop "$((w * $2 / 100))x$h+$x+$y" +repage \
      -colorspace Gray -format '%[fx:int(255*minima)] %[fx:int(255*maxima)]\n' info:)
    [ "$darkest" -lt $((lightest * 80 / 100)) ]
  }
  local field
  field=$(areas_of white | awk -F'[x+]' '$1 >= 200 && $2 >= 12 && $2 <= 30' | sort -t+ -k3 -n | head -n1)
  echo "      track field: ${field:-none}"
  [ -n "$field" ] && holds_text "$field" 100 || { echo "      the track field shows no text"; return 1; }
  # The scale boxes: five areas of one size, one above the other.
  local boxes
  boxes=$(areas_of "$background" | awk -F'[x+]' '$1 >= 25 && $1 <= 100 && $2 >= 12 && $2 <= 30 {print $1 "x" $2 "+" $3, $0}' |
    sort | awk '{n[$1]++; line[$1] = line[$1] " " $2} END {for (k in n) if (n[k] >= 5) print line[k]}')
  echo "      scale boxes: ${boxes:-none}"
  [ "$(wc -w <<<"$boxes")" -ge 5 ] || return 1
  local box
  for box in $boxes; do holds_text "$box" 60 || return 1; done
}
main_window_shows_its_texts() {
  local shot=$out/window-main.png
  import -window "$(xdotool search --name '^Plinthwright$' | head -n1)" "$shot" 2>/dev/null &&
    texts_drawn_in "$shot"
}
for file in examples/demo.nltrack "$track"; do
  windows_file=${file//\//\\}
  (cd "$windows_root" && "$wine" plinthwright.exe "$windows_file" >/dev/null 2>&1 &)
  check "plinthwright.exe opens a window titled Plinthwright with $windows_file" \
    opens_without_warning
  [ "$file" = examples/demo.nltrack ] &&
    check "its track field and scale boxes show their text" main_window_shows_its_texts
  shot=$out/window.png
  [ "$file" = examples/demo.nltrack ] || shot=$out/window-accents.png
  import -window root -trim +repage "$shot" 2>/dev/null && echo "      screenshot: $shot"
  "$wineserver" -k 2>/dev/null || true
  sleep 1
done

# Settings: the simulator's directory chosen in the window lands in the registry. The window's
# focus chain starts at the track field; three steps back reach "select Nolimits directory".
registry_key='HKCU\Software\tallowmere\basaltora\frmMain'
nolimits_windows="Z:${windows_root//\//\\}\\${nolimits//\//\\}"
chooses_directory_into_registry() {
  "$wine" reg delete "$registry_key" /f >/dev/null 2>&1 || true
  (cd "$windows_root" && "$wine" plinthwright.exe >/dev/null 2>&1 &)
  window_shows || return 1
  xdotool windowfocus --sync "$(xdotool search --name '^Plinthwright$' | head -n1)"
  xdotool key shift+Tab shift+Tab shift+Tab space
  local i
  for i in $(seq 1 20); do
    xdotool search --name '^Select noLimits directory$' >/dev/null 2>&1 && break
    sleep 1
  done
  sleep 2
  xdotool type --delay 80 "$nolimits_windows"
  xdotool key Return
  sleep 3
  import -window root -trim +repage "$out/window-directory.png" 2>/dev/null || true
  # reg prints in the console's code page.
  "$wine" reg query "$registry_key" /v nolimitsDir 2>/dev/null | tr -d '\r' |
    iconv -f CP437 -t UTF-8 | tee "$smoke/registry.txt" |
    grep -qi "nolimitsDir.*NoLimits ÄÖ"  # xdotool types capital umlauts in lower case
}
check "the chosen simulator directory ${nolimits//\//\\} is kept in the registry" \
  chooses_directory_into_registry
"$wineserver" -k 2>/dev/null || true

# The window's 3D view: the plan window remembers the 3D view and the main window the model
# directory, so a start with the generated demo shows its footers as meshes in 3D.
plan_key='HKCU\Software\tallowmere\basaltora\planWindow'
shows_the_3d_view() {
  "$wine" reg add "$plan_key" /v view /t REG_SZ /d 3d /f >/dev/null 2>&1 &&
    "$wine" reg add "$registry_key" /v modelDir /t REG_SZ /d "Z:${windows_root//\//\\}\\examples\\models" \
      /f >/dev/null 2>&1 || return 1
  (cd "$windows_root" && "$wine" plinthwright.exe examples\\demo-footers.nltrack >/dev/null 2>&1 &)
  window_shows || return 1
  local plan i
  for i in $(seq 1 20); do
    plan=$(xdotool search --name '^Plinthwright .+ Plan$' 2>/dev/null | head -n1)
    [ -n "$plan" ] && break
    sleep 1
  done
  [ -n "$plan" ] || return 1
  sleep 5
  import -window "$plan" "$out/window-3d.png" 2>/dev/null && echo "      screenshot: $out/window-3d.png"
  every_class_lit "$out/window-3d.png" 5
}
check "the plan window shows the generated demo in 3D, every size class in its colour" \
  shows_the_3d_view
"$wineserver" -k 2>/dev/null || true
"$wine" reg delete "$plan_key" /f >/dev/null 2>&1 || true

# Generate and save through the window, every path outside ASCII: a track given as the argument,
# the models chosen by keyboard, the simulator's directory asked for by the first generate (none
# is stored), the result saved under a new name. It must hold the bytes the Linux command line
# writes, beside the same model copies. xdotool types capital umlauts in lower case, so the names
# typed into dialogs hold small ones.
window_track='Übung/Fenster-Ü.nltrack'
window_nolimits='übung/nolimits äö'
window_saved='übung/gespeichert-ä.nltrack'
prepare_both_roots "$window_nolimits" "$window_track"
run_linux window-reference generate "$window_track" -o "$window_saved" \
  --nolimits-dir "$window_nolimits" --models-dir examples/models
windows_path() { echo "Z:${windows_root//\//\\}\\${1//\//\\}"; }
dialog_shows() {
  local i
  for i in $(seq 1 20); do
    xdotool search --name "^$1\$" >/dev/null 2>&1 && { sleep 2; return 0; }
    sleep 1
  done
  import -window root -trim +repage "$out/window-no-dialog.png" 2>/dev/null || true
  echo "      no dialog \"$1\"; the screen: $out/window-no-dialog.png"
  return 1
}
# Answers a dialog by typing the path of $2 (below the unpacked zip) and Return.
answer_dialog() {
  dialog_shows "$1" || return 1
  xdotool type --delay 80 "$(windows_path "$2")"
  xdotool key Return
}
generates_and_saves_through_the_window() {
  "$wine" reg delete "$registry_key" /f >/dev/null 2>&1 || true
  (cd "$windows_root" && "$wine" plinthwright.exe "${window_track//\//\\}" >/dev/null 2>&1 &)
  window_shows || return 1
  sleep 3
  local main
  main=$(xdotool search --name '^Plinthwright$' | head -n1)
  xdotool windowfocus --sync "$main"
  # From the track field five steps on reach "select..." of the model directory.
  xdotool key Tab Tab Tab Tab Tab space
  answer_dialog 'Select footer object directory' examples/models || return 1
  sleep 3
  # Where the focus lands after a dialog is wine's choice: a click puts it into the track field,
  # and four steps back from there reach generate, then save once generate enabled it (after
  # align, delete and the NoLimits directory; save sits after generate).
  press_fourth_back() {
    xdotool mousemove --window "$main" 200 38 click 1
    sleep 1
    xdotool key shift+Tab shift+Tab shift+Tab shift+Tab space
  }
  press_fourth_back
  answer_dialog 'Select noLimits directory' "$window_nolimits" || return 1
  sleep 5
  press_fourth_back
  answer_dialog 'Save NlTrack file' "$window_saved" || return 1
  sleep 3
  import -window root -trim +repage "$out/window-generated.png" 2>/dev/null || true
  cmp "$smoke/linux/$window_saved" "$windows_root/$window_saved" &&
    diff -r "$smoke/linux/$window_nolimits" "$windows_root/$window_nolimits" >/dev/null
}
check "the window generates ${window_track//\//\\} and saves it as ${window_saved//\//\\}, as on Linux" \
  generates_and_saves_through_the_window
"$wineserver" -k 2>/dev/null || true

# The installer, for all users and for one user: silent install, the files, the Start menu entry,
# the file type, a track opened through it (the window shows it without a warning), plan reading
# the models through the installed reader, silent uninstall, nothing of ours left, the user's
# settings kept.
installed_plan_reads_its_models() {
  local printed output
  output=$("$wine" winepath -w "$smoke/installed-plan.png" 2>/dev/null | tr -d '\r')
  printed=$(cd "$1" && "$wine" plinthwright-cli.exe plan 'examples\demo-footers.nltrack' \
    -o "$output" --models-dir 'examples\models' 2>&1 | tr -d '\r')
  echo "$printed" | grep -q '^Written: ' && ! echo "$printed" | grep -q 'warning'
}
check_installer "$setup_file" "$stage" opens_without_warning installed_plan_reads_its_models
"$wineserver" -k 2>/dev/null || true

echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
