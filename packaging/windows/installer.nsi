; The Windows installer: the program into Program Files, a Start Menu shortcut, an entry in the
; list of installed programs, and an uninstaller that takes all of it away again.
; Built by scripts/package with makensis; it passes these:
;   VERSION    2.1.1.1
;   EXE        the release program
;   ICON       the program's icon
;   MAIN_SITE  the maker's main site's host
;   OUTFILE    the installer to write
Unicode true
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestDPIAware true

!define PRODUCT "岚谱基调查询"
!define COMPANY "岚谱音频"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\keylookup"
!define SHORTCUT "$SMPROGRAMS\${PRODUCT}.lnk"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES\${COMPANY}\${PRODUCT}"
; Installing again goes where the last install went.
InstallDirRegKey HKLM "${UNINSTALL_KEY}" "InstallLocation"

!include "MUI2.nsh"
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_FINISHPAGE_RUN "$INSTDIR\keylookup.exe"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; What Explorer shows of the installer file itself.
VIProductVersion "${VERSION}"
VIFileVersion "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "CompanyName" "${COMPANY}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileDescription" "${PRODUCT} 安装程序"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_SIMPCHINESE} "LegalCopyright" "© ${COMPANY}"

Function .onInit
  SetShellVarContext all   ; per machine: every user's Start Menu
FunctionEnd

Function un.onInit
  SetShellVarContext all
FunctionEnd

Section "Install"
  SetOutPath "$INSTDIR"
  File "/oname=keylookup.exe" "${EXE}"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "${SHORTCUT}" "$INSTDIR\keylookup.exe" "" "$INSTDIR\keylookup.exe" 0

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "${COMPANY}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\keylookup.exe"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "URLInfoAbout" "http://${MAIN_SITE}/"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; In kilobytes, as the list of installed programs shows it.
  SectionGetSize 0 $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Uninstall"
  Delete "$INSTDIR\keylookup.exe"
  Delete "$INSTDIR\uninstall.exe"
  Delete "${SHORTCUT}"
  ; Only folders left empty: anything a user put there stays, and so does the folder holding it.
  RMDir "$INSTDIR"
  RMDir "$PROGRAMFILES\${COMPANY}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
