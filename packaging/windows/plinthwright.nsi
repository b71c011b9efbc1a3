; Plinthwright's Windows installer, built on Linux by scripts/windows-installer.sh:
;   makensis -NOCD -DVERSION=0.1.0 -DFILES=files.nsh -DICON=plinthwright.ico
;            -DOUTFILE=plinthwright-setup.exe plinthwright.nsi        (run in the stage directory)
; The stage is the directory the zip is made of. FILES lists its files, so that the uninstaller
; removes exactly those and keeps whatever the user saved beside them.
;
; Installs for all users into Program Files (administrators) or for the current user into
; %LOCALAPPDATA%\Programs without administrator rights; /AllUsers or /CurrentUser choose on the
; command line, /S installs silently. The uninstaller takes the same switches (the uninstall
; entry passes the mode it was installed in). The user's settings stay in the registry.

Unicode true
Target amd64-unicode
ManifestDPIAware true
SetCompressor /SOLID lzma

!define APP_NAME "Plinthwright"
!define PUBLISHER "The Plinthwright developers"
!define PROG_ID "Plinthwright.Track"
!define EXTENSION_KEY "Software\Classes\.nltrack"
!define PROG_ID_KEY "Software\Classes\${PROG_ID}"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Plinthwright"
; The extension's owner before us, given back when we are removed.
!define PREVIOUS_TYPE_VALUE "PreviousNltrackType"

Name "${APP_NAME}"
OutFile "${OUTFILE}"
BrandingText "${APP_NAME} ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "${APP_NAME}"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "${APP_NAME} installer"
VIAddVersionKey "CompanyName" "${PUBLISHER}"
VIAddVersionKey "LegalCopyright" "${PUBLISHER}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APP_NAME}"
!define MULTIUSER_USE_PROGRAMFILES64
; A new version goes where the last one is, in the same mode.
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallMode"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\plinthwright.exe"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include "${FILES}"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  !insertmacro MULTIUSER_INIT
FunctionEnd

Function un.onInit
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

!macro NOTIFY_ASSOCIATIONS_CHANGED
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'  ; SHCNE_ASSOCCHANGED
!macroend

Section "Plinthwright"
  !insertmacro PLINTHWRIGHT_INSTALL_FILES
  SetOutPath "$INSTDIR"
  File "/oname=plinthwright.ico" "${ICON}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\${APP_NAME}.lnk" "$INSTDIR\plinthwright.exe" "" \
    "$INSTDIR\plinthwright.ico"

  ; .nltrack opens in Plinthwright on a double-click; whoever had it before gets it back on removal.
  ReadRegStr $0 SHCTX "${EXTENSION_KEY}" ""
  ${If} $0 != ""
  ${AndIf} $0 != "${PROG_ID}"
    WriteRegStr SHCTX "${UNINSTALL_KEY}" "${PREVIOUS_TYPE_VALUE}" $0
  ${EndIf}
  WriteRegStr SHCTX "${EXTENSION_KEY}" "" "${PROG_ID}"
  WriteRegStr SHCTX "${EXTENSION_KEY}\OpenWithProgids" "${PROG_ID}" ""
  WriteRegStr SHCTX "${PROG_ID_KEY}" "" "NoLimits Coaster track"
  WriteRegStr SHCTX "${PROG_ID_KEY}\DefaultIcon" "" "$INSTDIR\plinthwright.ico"
  WriteRegStr SHCTX "${PROG_ID_KEY}\shell" "" "open"
  WriteRegStr SHCTX "${PROG_ID_KEY}\shell\open" "" "Open with Plinthwright"
  ; The window opens the file given as its first argument.
  WriteRegStr SHCTX "${PROG_ID_KEY}\shell\open\command" "" '"$INSTDIR\plinthwright.exe" "%1"'
  !insertmacro NOTIFY_ASSOCIATIONS_CHANGED

  ; "Apps & features"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${APP_NAME}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\plinthwright.ico"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallMode" "$MultiUser.InstallMode"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" \
    '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$SMPROGRAMS\${APP_NAME}.lnk"

  ReadRegStr $0 SHCTX "${EXTENSION_KEY}" ""
  ${If} $0 == "${PROG_ID}"
    ReadRegStr $1 SHCTX "${UNINSTALL_KEY}" "${PREVIOUS_TYPE_VALUE}"
    ${If} $1 != ""
      WriteRegStr SHCTX "${EXTENSION_KEY}" "" $1
    ${Else}
      DeleteRegValue SHCTX "${EXTENSION_KEY}" ""
    ${EndIf}
  ${EndIf}
  DeleteRegValue SHCTX "${EXTENSION_KEY}\OpenWithProgids" "${PROG_ID}"
  ; Only when nothing else is left in them (NSIS 3: neither subkeys nor values).
  DeleteRegKey /ifempty SHCTX "${EXTENSION_KEY}\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "${EXTENSION_KEY}"
  DeleteRegKey SHCTX "${PROG_ID_KEY}"
  !insertmacro NOTIFY_ASSOCIATIONS_CHANGED
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"

  ; Only what was installed; a folder goes only when nothing else is left in it.
  !insertmacro PLINTHWRIGHT_UNINSTALL_FILES
  Delete "$INSTDIR\plinthwright.ico"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
