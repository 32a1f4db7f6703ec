; The setup program of the A3 flatbed scanner's TWAIN data source, one per target width.
; installer/package.py runs makensis with:
;   ARCH          x86_64 or i686
;   VERSION_TEXT  "1.0", VERSION_INFO "V1.0", VERSION_QUAD "1.0.0.0" (common/product_version.h)
;   FILE_LISTS    the generated file lists (KV_INSTALL_SOURCE_FILES and the others)
;   OUTFILE       the setup program to write
;
; Command line (besides NSIS's own):
;   /S            silent: installs the default components (the data source only)
;   /SIMULATOR    adds the component "Scanner simulator (demonstration)", also when silent
; The uninstaller (Uninstall.exe beside the data source) takes /S as well.
; Exit codes: 0 done, 1 cancelled, 2 refused (the other width is installed), 3 installed
; without the simulator because a port library that this setup did not install is there.

!if "${ARCH}" == "x86_64"
  Target amd64-unicode
  !define SOURCE_DIR "$WINDIR\twain_64\KVTC_A3"
  !define WIDTH "64-bit"
  !define UNINSTALL_NAME "KVTC_A3-x86_64"
  !define OTHER_UNINSTALL_NAME "KVTC_A3-i686"
  !define OTHER_WIDTH "32-bit"
!else if "${ARCH}" == "i686"
  Target x86-unicode
  !define SOURCE_DIR "$WINDIR\TWAIN_32\KVTC_A3"
  !define WIDTH "32-bit"
  !define UNINSTALL_NAME "KVTC_A3-i686"
  !define OTHER_UNINSTALL_NAME "KVTC_A3-x86_64"
  !define OTHER_WIDTH "64-bit"
!else
  !error "ARCH must be x86_64 or i686"
!endif

!define PRODUCT "A3 Flatbed Scanner TWAIN data source"
!define UNINSTALL_ROOT "Software\Microsoft\Windows\CurrentVersion\Uninstall"
!define UNINSTALL_KEY "${UNINSTALL_ROOT}\${UNINSTALL_NAME}"
!define OWN_DIR "$WINDIR\TWAIN_32\KVTC_A3"

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"
!include "Sections.nsh"
!include "x64.nsh"
!include "${FILE_LISTS}"

Name "${PRODUCT} (${WIDTH})"
OutFile "${OUTFILE}"
; Everything goes under the Windows directory, where the source managers and the source look:
; there is no folder to choose.
InstallDir "${SOURCE_DIR}"
RequestExecutionLevel admin
ShowInstDetails show
ShowUninstDetails show
SetCompressor /SOLID lzma

; No copyright holder is named in any of our files' properties.
!pragma warning disable 9100
VIProductVersion "${VERSION_QUAD}"
VIFileVersion "${VERSION_QUAD}"
VIAddVersionKey /LANG=1033 "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=1033 "FileDescription" "Setup of the ${PRODUCT} (${WIDTH})"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION_TEXT}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION_INFO}"

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

; The registry view of our uninstall key: a 64-bit program writes the 64-bit view anyway; a
; 32-bit one on 64-bit Windows writes the 32-bit view, where Windows lists 32-bit programs.
!macro KV_OWN_VIEW
  !if "${ARCH}" == "x86_64"
    SetRegView 64
  !endif
!macroend

Section "!${PRODUCT}" SecSource
  SectionIn RO
  !insertmacro KV_OWN_VIEW
  ; The Windows directory's TWAIN folders may not exist yet; note the ones this setup makes so
  ; that the uninstaller removes them again (when empty), and only them.
  ${IfNot} ${FileExists} "$WINDIR\TWAIN_32\*.*"
    StrCpy $R7 1
  ${EndIf}
  ${IfNot} ${FileExists} "$WINDIR\TWAIN_32\COLOR\*.*"
    StrCpy $R8 1
  ${EndIf}
  !if "${ARCH}" == "x86_64"
    ${IfNot} ${FileExists} "$WINDIR\twain_64\*.*"
      StrCpy $R9 1
    ${EndIf}
  !endif
  !insertmacro KV_INSTALL_SOURCE_FILES
  WriteUninstaller "${SOURCE_DIR}\Uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} (${WIDTH})"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION_TEXT}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"${SOURCE_DIR}\Uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"${SOURCE_DIR}\Uninstall.exe" /S'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "${SOURCE_DIR}"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ${If} $R7 == 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "CreatedTwain32Folder" 1
  ${EndIf}
  ${If} $R8 == 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "CreatedColorFolder" 1
  ${EndIf}
  ${If} $R9 == 1
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "CreatedTwain64Folder" 1
  ${EndIf}
SectionEnd

Section /o "Scanner simulator (demonstration)" SecSimulator
  !insertmacro KV_OWN_VIEW
  ; The simulator takes the port library's name. A QASPI_SP.DLL this setup did not put there
  ; is the scanner maker's: never overwrite it.
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "Simulator"
  ${If} ${FileExists} "${KV_SIMULATOR_FILE}"
  ${AndIf} $0 != 1
    MessageBox MB_OK|MB_ICONEXCLAMATION "The scanner's port library is already installed \
        (${KV_SIMULATOR_FILE}). The scanner simulator was not installed in its place." /SD IDOK
    DetailPrint "Simulator not installed: a port library is already there."
    SetErrorLevel 3
  ${Else}
    !insertmacro KV_INSTALL_SIMULATOR_FILES
    WriteRegDWORD HKLM "${UNINSTALL_KEY}" "Simulator" 1
  ${EndIf}
SectionEnd

Function .onInit
  ; (The x86_64 program is a 64-bit program: 32-bit Windows does not start it at all.)
  ; Both widths load their prescan library and port library from TWAIN_32\KVTC_A3: the
  ; other width's files there would not load in this width's source.
  !if "${ARCH}" == "x86_64"
    SetRegView 32
  !else
    ${If} ${RunningX64}
      SetRegView 64
    ${EndIf}
  !endif
  ClearErrors
  ReadRegStr $0 HKLM "${UNINSTALL_ROOT}\${OTHER_UNINSTALL_NAME}" "UninstallString"
  SetRegView lastused
  ${If} $0 != ""
    MessageBox MB_OK|MB_ICONSTOP "The ${OTHER_WIDTH} ${PRODUCT} is installed. Both use \
        the folder TWAIN_32\KVTC_A3 of the Windows directory for their own libraries: \
        remove it first (Add or Remove Programs)." /SD IDOK
    SetErrorLevel 2
    Abort
  ${EndIf}
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/SIMULATOR" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecSimulator}
  ${EndIf}
FunctionEnd

Section "Uninstall"
  !insertmacro KV_OWN_VIEW
  !insertmacro KV_DELETE_SOURCE_FILES
  ; The prescan bitmap the prescan library leaves for the preview.
  Delete "${OWN_DIR}\PVWC0000.BMP"
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "Simulator"
  ${If} $0 == 1
    Delete "${KV_SIMULATOR_FILE}"
  ${EndIf}
  Delete "${SOURCE_DIR}\Uninstall.exe"
  ; Only empty folders go: the user's settings files (*.PAR, *.SET) stay, and their folder.
  RMDir "${SOURCE_DIR}"
  RMDir "${OWN_DIR}"
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "CreatedColorFolder"
  ${If} $0 == 1
    RMDir "$WINDIR\TWAIN_32\COLOR"
  ${EndIf}
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "CreatedTwain32Folder"
  ${If} $0 == 1
    RMDir "$WINDIR\TWAIN_32"
  ${EndIf}
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "CreatedTwain64Folder"
  ${If} $0 == 1
    RMDir "$WINDIR\twain_64"
  ${EndIf}
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
SectionEnd
