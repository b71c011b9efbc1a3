#!/usr/bin/env bash
# The Windows installer build-windows/plinthwright-setup.exe: made with makensis from the stage
# directory the zip is made of, and checked under wine. scripts/build-windows.sh sources this
# file and calls
#   build_installer STAGE VERSION SETUP_EXE
#   check_installer SETUP_EXE STAGE OPENED_CHECK [INSTALLED_CHECK]
# where OPENED_CHECK names a function that tells whether the window opened the track (given as
# its Windows path) that a double-click handed to it, and INSTALLED_CHECK one that checks the
# installed programs further, given their folder. check_installer uses the caller's check
# functions and $wine, $wineserver and WINEPREFIX.
#
# Run on its own, it builds and checks an installer of stand-in programs (they record their
# arguments), without Qt for Windows:
#   scripts/windows-installer.sh     -> build-installer-stand-in/plinthwright-setup.exe
# Ends with "N passed, M failed" and exits non-zero when a check fails.

installer_source_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The installer's, the shortcut's and the file type's icon, from the desktop entry's.
installer_icon() {
  convert "$installer_source_dir/packaging/icons/io.github.plinthwright.Plinthwright.png" \
    -define icon:auto-resize=128,64,48,32,16 "$1"
}

# Prints a path of the stage as NSIS takes it: `$` doubled, and with backslashes ($2 = windows).
nsis_path() {
  local path=${1#./}
  path=${path//\$/\$\$}
  [ "${2:-}" = windows ] && path=${path//\//\\}
  printf '%s' "$path"
}

# Writes the macros that install each file of the stage and uninstall exactly those, then remove
# the folders deepest first and each only when empty, so that what the user saved there stays.
write_installer_file_list() {
  local stage=$1 list=$2
  (
    cd "$stage" || exit 1
    local directory file
    echo '!macro PLINTHWRIGHT_INSTALL_FILES'
    while IFS= read -r directory; do
      if [ "$directory" = . ]; then
        echo '  SetOutPath "$INSTDIR"'
      else
        echo "  SetOutPath \"\$INSTDIR\\$(nsis_path "$directory" windows)\""
      fi
      while IFS= read -r file; do
        echo "  File \"$(nsis_path "$file")\""
      done < <(find "$directory" -mindepth 1 -maxdepth 1 -type f | LC_ALL=C sort)
    done < <(find . -type d | LC_ALL=C sort)
    echo '!macroend'
    echo '!macro PLINTHWRIGHT_UNINSTALL_FILES'
    while IFS= read -r file; do
      echo "  Delete \"\$INSTDIR\\$(nsis_path "$file" windows)\""
    done < <(find . -type f | LC_ALL=C sort)
    while IFS= read -r directory; do
      echo "  RMDir \"\$INSTDIR\\$(nsis_path "$directory" windows)\""
    done < <(find . -mindepth 1 -type d | LC_ALL=C sort -r)
    echo '!macroend'
  ) >"$list"
}

build_installer() {
  local stage=$1 version=$2 setup
  setup=$(realpath -m "$3")
  local work
  work=$(dirname "$setup")/installer
  rm -rf "$work"
  mkdir -p "$work"
  installer_icon "$work/plinthwright.ico"
  write_installer_file_list "$stage" "$work/files.nsh"
  # Run in the stage, which the file list's paths are relative to; warnings fail the build.
  (cd "$stage" && makensis -V2 -WX -NOCD -DVERSION="$version" -DFILES="$work/files.nsh" \
    -DICON="$work/plinthwright.ico" -DOUTFILE="$setup" \
    "$installer_source_dir/packaging/windows/plinthwright.nsi")
  echo "Wrote $3 ($(du -h "$setup" | cut -f1))"
}

# ---- Checks under wine ----------------------------------------------------------------------

# Prints the data of value $2 of registry key $1 (the default value without $2), or fails.
registry_value() {
  local key=$1 query=(/ve)
  [ -n "${2:-}" ] && query=(/v "$2")
  "$wine" reg query "$key" "${query[@]}" 2>/dev/null | tr -d '\r' |
    sed -n 's/^ *\([^ ].*[^ ]\|(Default)\) \{4\}REG_[A-Z_]* \{4\}\(.*\)$/\2/p' | grep .
}
registry_value_is() { [ "$(registry_value "$1" "${3:-}")" = "$2" ]; }
registry_key_exists() { "$wine" reg query "$1" >/dev/null 2>&1; }
registry_key_absent() { ! registry_key_exists "$1"; }
unix_path() { "$wine" winepath -u "$1" 2>/dev/null | tr -d '\r'; }
windows_folder() { "$wine" cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }

# A double-click on Windows: the extension's type, that type's open command, %1 the file. Wine's
# shell reads the machine's types only (Windows merges HKCU\Software\Classes into them), so a
# per-user type is opened this way, from what the installer registered.
open_like_the_shell() {
  local classes=$1 file=$2 type command
  type=$(registry_value "$classes\\.nltrack") || return 1
  command=$(registry_value "$classes\\$type\\shell\\open\\command") || return 1
  [[ $command =~ ^\"([^\"]+)\"\ \"%1\"$ ]] || { echo "      command: $command"; return 1; }
  ("$wine" "${BASH_REMATCH[1]}" "$file" >/dev/null 2>&1 &)
}

# The uninstaller copies itself to the temporary folder and returns at once; that copy has
# finished when the uninstaller is gone and wine's processes have ended.
wait_for_uninstaller() {
  local i
  for i in $(seq 1 60); do
    [ -e "$1/uninstall.exe" ] || break
    sleep 1
  done
  timeout 60 "$wineserver" -w 2>/dev/null || true
  [ ! -e "$1/uninstall.exe" ]
}

# The installation folder holds nothing of ours but exactly the stage, the icon and the
# uninstaller.
installs_the_stage() {
  local stage=$1 folder=$2
  [ -f "$folder/plinthwright.ico" ] && [ -f "$folder/uninstall.exe" ] &&
    diff -r -x plinthwright.ico -x uninstall.exe "$stage" "$folder" >/dev/null
}
installed_cli_runs() {
  "$wine" "$1/plinthwright-cli.exe" --version 2>/dev/null | grep -q '^plinthwright-cli '
}
# Wine runs everything as an administrator, so a per-user install is checked by where it wrote.
nothing_for_all_users() {
  [ ! -e "$(unix_path "$(windows_folder ProgramFiles)\\Plinthwright")" ] &&
    registry_key_absent 'HKLM\Software\Classes\Plinthwright.Track' &&
    registry_key_absent 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Plinthwright'
}
left_only() {
  local folder=$1 expected=$2
  [ "$(cd "$folder" 2>/dev/null && find . -mindepth 1 | LC_ALL=C sort | paste -sd' ')" = "$expected" ]
}

# One install and uninstall in MODE (AllUsers or CurrentUser). With PREVIOUS_OWNER = owned,
# another program owns .nltrack before, and must get it back.
check_installer_mode() {
  local setup=$1 stage=$2 opened_check=$3 mode=$4 previous_owner=$5 installed_check=$6
  local root=HKLM folder start_menu
  if [ "$mode" = AllUsers ]; then
    folder=$(unix_path "$(windows_folder ProgramFiles)\\Plinthwright")
    start_menu=$(unix_path "$(windows_folder ProgramData)\\Microsoft\\Windows\\Start Menu\\Programs")
  else
    root=HKCU
    folder=$(unix_path "$(windows_folder LOCALAPPDATA)\\Programs\\Plinthwright")
    start_menu=$(unix_path "$(windows_folder APPDATA)\\Microsoft\\Windows\\Start Menu\\Programs")
  fi
  local windows_folder
  windows_folder=$("$wine" winepath -w "$folder" 2>/dev/null | tr -d '\r')
  local classes="$root\\Software\\Classes"
  local uninstall_key="$root\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Plinthwright"
  local settings='HKCU\Software\tallowmere\basaltora\frmMain'

  # The user's settings, as the window stores them, and perhaps another owner of the extension.
  "$wine" reg add "$settings" /v nolimitsDir /d 'C:\NoLimits 2' /f >/dev/null 2>&1
  if [ "$previous_owner" = owned ]; then
    "$wine" reg add "$classes\\.nltrack" /ve /d NoLimits.Track /f >/dev/null 2>&1
  fi

  check "$mode: setup.exe /S /$mode installs silently" "$wine" "$setup" /S "/$mode"
  check "$mode: it installs the programs, DLLs, plugins and examples into ${windows_folder}" \
    installs_the_stage "$stage" "$folder"
  check "$mode: a Start menu entry" test -f "$start_menu/Plinthwright.lnk"
  check "$mode: the installed plinthwright-cli.exe runs" installed_cli_runs "$folder"
  if [ -n "$installed_check" ]; then
    check "$mode: the installed plinthwright-cli.exe plans the demo, its models read by the reader" \
      "$installed_check" "$folder"
  fi
  check "$mode: .nltrack is a Plinthwright.Track" \
    registry_value_is "$classes\\.nltrack" Plinthwright.Track
  check "$mode: and is offered to it in \"Open with\"" \
    registry_key_exists "$classes\\.nltrack\\OpenWithProgids"
  check "$mode: a Plinthwright.Track is a NoLimits Coaster track" \
    registry_value_is "$classes\\Plinthwright.Track" "NoLimits Coaster track"
  check "$mode: its icon" \
    registry_value_is "$classes\\Plinthwright.Track\\DefaultIcon" "$windows_folder\\plinthwright.ico"
  check "$mode: its verb \"Open with Plinthwright\"" \
    registry_value_is "$classes\\Plinthwright.Track\\shell\\open" "Open with Plinthwright"
  check "$mode: which hands the file to the window as its first argument" \
    registry_value_is "$classes\\Plinthwright.Track\\shell\\open\\command" \
    "\"$windows_folder\\plinthwright.exe\" \"%1\""
  if [ "$mode" = CurrentUser ]; then
    check "$mode: nothing written where only administrators may write" \
      nothing_for_all_users
  fi
  check "$mode: \"Apps & features\" lists it" \
    registry_value_is "$uninstall_key" Plinthwright DisplayName
  check "$mode: with an uninstaller in the same mode" \
    registry_value_is "$uninstall_key" "\"$windows_folder\\uninstall.exe\" /$mode" UninstallString

  # A double-click: the shell opens the file through its type, with spaces and an umlaut in the
  # path.
  local tracks="$WINEPREFIX/drive_c/Bahnen Ü"
  mkdir -p "$tracks"
  cp "$installer_source_dir/examples/demo.nltrack" "$tracks/demo track.nltrack"
  if [ "$mode" = AllUsers ]; then
    "$wine" start /unix "$tracks/demo track.nltrack" >/dev/null 2>&1 || true
  else
    open_like_the_shell "$classes" 'C:\Bahnen Ü\demo track.nltrack' || true
  fi
  check "$mode: opening C:\\Bahnen Ü\\demo track.nltrack opens it in the window" \
    "$opened_check" 'C:\Bahnen Ü\demo track.nltrack'
  "$wineserver" -k 2>/dev/null || true
  rm -rf "$tracks"

  # A track the user saved among the examples must survive the uninstaller.
  echo "the user's own" >"$folder/examples/mine.nltrack"
  "$wine" "$folder/uninstall.exe" /S "/$mode" >/dev/null 2>&1
  check "$mode: uninstall.exe /S /$mode uninstalls silently" wait_for_uninstaller "$folder"
  check "$mode: it leaves only the user's own file in the installation folder" \
    left_only "$folder" "./examples ./examples/mine.nltrack"
  check "$mode: it removes the Start menu entry" test ! -e "$start_menu/Plinthwright.lnk"
  check "$mode: it removes the file type Plinthwright.Track" \
    registry_key_absent "$classes\\Plinthwright.Track"
  if [ "$previous_owner" = owned ]; then
    check "$mode: .nltrack goes back to the program that had it" \
      registry_value_is "$classes\\.nltrack" NoLimits.Track
    check "$mode: and is no longer offered to Plinthwright" \
      registry_key_absent "$classes\\.nltrack\\OpenWithProgids"
  else
    check "$mode: it removes .nltrack, which it made" \
      registry_key_absent "$classes\\.nltrack"
  fi
  check "$mode: it removes its \"Apps & features\" entry" \
    registry_key_absent "$uninstall_key"
  check "$mode: the user's settings stay" registry_value_is "$settings" 'C:\NoLimits 2' nolimitsDir

  rm -rf "$folder"
  "$wine" reg delete "$classes\\.nltrack" /f >/dev/null 2>&1 || true
  "$wine" reg delete 'HKCU\Software\tallowmere' /f >/dev/null 2>&1 || true
}

check_installer() {
  local setup=$1 stage=$2 opened_check=$3 installed_check=${4:-}
  # Wine would otherwise copy the shortcut and the file type into the Linux desktop of whoever
  # runs this.
  local -x WINEDLLOVERRIDES="winemenubuilder.exe=d${WINEDLLOVERRIDES:+;$WINEDLLOVERRIDES}"
  "$wineserver" -k 2>/dev/null || true
  # Windows asks administrators to elevate it and lets everyone else install for themselves.
  check "setup.exe asks for the highest rights the user has, not for an administrator" \
    grep -aq 'requestedExecutionLevel level="highestAvailable"' "$setup"
  # A step that fails between the checks shows in the checks after it; it must not end the
  # caller's script (set -e does not reach into a function called with ||).
  check_installer_mode "$setup" "$stage" "$opened_check" AllUsers owned "$installed_check" || true
  check_installer_mode "$setup" "$stage" "$opened_check" CurrentUser free "$installed_check" ||
    true
}

# ---- On its own: stand-in programs ----------------------------------------------------------

# A stage laid out like the zip's, its programs stand-ins that record their arguments.
make_stand_in_stage() {
  local stage=$1
  rm -rf "$stage"
  mkdir -p "$stage/platforms" "$stage/styles" "$stage/examples"
  local name
  for name in plinthwright plinthwright-cli; do
    local subsystem=-mconsole
    [ "$name" = plinthwright ] && subsystem=-mwindows
    x86_64-w64-mingw32-g++-posix -std=c++20 -O2 -Wall -Wextra -static -s "$subsystem" \
      -DSTAND_IN_NAME="\"$name\"" -o "$stage/$name.exe" \
      "$installer_source_dir/tests/packaging/windows_stand_in.cpp"
  done
  for name in Qt6Core.dll Qt6Gui.dll Qt6Widgets.dll libstdc++-6.dll platforms/qwindows.dll \
              styles/qwindowsvistastyle.dll; do
    echo "stand-in for $name" >"$stage/$name"
  done
  cp -r "$installer_source_dir/examples/demo.nltrack" \
    "$installer_source_dir/examples/demo-footers.nltrack" \
    "$installer_source_dir/examples/models" "$stage/examples/"
  printf 'Plinthwright for Windows (stand-in)\r\n' >"$stage/README.txt"
}

# The stand-in window records the path it was given.
stand_in_received() {
  local expected=$1 i
  for i in $(seq 1 30); do
    [ -s "$stand_in_record" ] && break
    sleep 1
  done
  local received
  received=$(cat "$stand_in_record" 2>/dev/null)
  : >"$stand_in_record"
  [ "$received" = "$expected" ] || { echo "      received: '$received'"; return 1; }
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -euo pipefail
  cd "$installer_source_dir"
  set --
  source scripts/setup.sh g++-mingw-w64-x86-64-posix wine64 nsis imagemagick
  out=build-installer-stand-in
  stage=$out/plinthwright
  mkdir -p "$out"
  make_stand_in_stage "$stage"
  build_installer "$stage" 0.0.0 "$out/plinthwright-setup.exe"

  wine=/usr/lib/wine/wine64
  wineserver=/usr/lib/wine/wineserver
  export WINEDEBUG=-all LANG=C.UTF-8 LC_ALL=C.UTF-8
  export WINEPREFIX=$PWD/$out/wineprefix
  stand_in_record=$PWD/$out/arguments.txt
  : >"$stand_in_record"
  export PLINTHWRIGHT_STAND_IN_RECORD
  PLINTHWRIGHT_STAND_IN_RECORD=$("$wine" winepath -w "$stand_in_record" 2>/dev/null | tr -d '\r')
  trap '"$wineserver" -k 2>/dev/null || true' EXIT
  mkdir -p "$WINEPREFIX"
  "$wine" wineboot --init >/dev/null 2>&1 || true

  source scripts/check.sh
  check_installer "$out/plinthwright-setup.exe" "$stage" stand_in_received
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ]
fi
