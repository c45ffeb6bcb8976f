; The Windows installer: puts the screen saver where Windows lists screen savers (the 64-bit system
; folder), offers to make it the current one, and registers an uninstaller that takes all of it
; away again. makensis is given VERSION, SCR (the saver to install) and OUTFILE.
Unicode true
Target amd64-unicode
!include "MUI2.nsh"
!include "FileFunc.nsh"
!include "LogicLib.nsh"

!ifndef VERSION | SCR | OUTFILE
  !error "makensis needs -DVERSION=..., -DSCR=... and -DOUTFILE=..."
!endif

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Morrowmere"
!define SETTINGS_KEY "Software\Tovrelin\Morrowmere screen saver"
!define DESKTOP_KEY "Control Panel\Desktop"

Name "Morrowmere"
OutFile "${OUTFILE}"
InstallDir "$PROGRAMFILES64\Morrowmere"
; The system folder and the machine's list of programs take an administrator.
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
BrandingText "Morrowmere ${VERSION}"

VIProductVersion "${VERSION}.0"
VIAddVersionKey "ProductName" "Morrowmere"
VIAddVersionKey "ProductVersion" "${VERSION}"
VIAddVersionKey "FileDescription" "Morrowmere screen saver setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "CompanyName" "Tovrelin"
VIAddVersionKey "LegalCopyright" "Copyright 2026 Tovrelin"

; Where the system does not ask for the rights (UAC off, an older system), say so rather than fail
; half-way. Exit code 740 is Windows' "elevation required".
!macro RequireAdministrator
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "admin"
    MessageBox MB_ICONSTOP "Morrowmere is installed for every user of this computer, which takes an administrator." /SD IDOK
    SetErrorLevel 740
    Quit
  ${EndIf}
!macroend
Function .onInit
  !insertmacro RequireAdministrator
FunctionEnd
Function un.onInit
  !insertmacro RequireAdministrator
FunctionEnd

!define MUI_COMPONENTSPAGE_NODESC
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Section "Morrowmere screen saver" SaverSection
  SectionIn RO
  SetOutPath "$SYSDIR"
  File "/oname=morrowmere.scr" "${SCR}"
  SetOutPath "$INSTDIR"
  WriteUninstaller "$INSTDIR\uninstall.exe"

  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "Morrowmere screen saver"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "Publisher" "Tovrelin"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  ; The size in KiB, as the list of programs shows it: the saver and the uninstaller.
  ${GetSize} "$SYSDIR" "/M=morrowmere.scr /S=0K /G=0" $0 $1 $2
  ${GetSize} "$INSTDIR" "/S=0K" $1 $2 $3
  IntOp $0 $0 + $1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Make it the current screen saver" CurrentSection
  WriteRegStr HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE" "$SYSDIR\morrowmere.scr"
  WriteRegStr HKCU "${DESKTOP_KEY}" "ScreenSaveActive" "1"
  ; SPI_SETSCREENSAVEACTIVE, told to every window (SPIF_SENDWININICHANGE).
  System::Call "user32::SystemParametersInfoW(i 17, i 1, p 0, i 2)"
SectionEnd

Section "Uninstall"
  ; Unset the screen saver only when it is this one, named by its long or its short path.
  ReadRegStr $0 HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  GetFullPathName /SHORT $1 "$SYSDIR\morrowmere.scr"
  ${If} $0 == "$SYSDIR\morrowmere.scr"
  ${OrIf} $0 == $1
    DeleteRegValue HKCU "${DESKTOP_KEY}" "SCRNSAVE.EXE"
  ${EndIf}
  Delete "$SYSDIR\morrowmere.scr"
  ; The run log that the saver writes beside itself, and the settings its dialog stored.
  Delete "$SYSDIR\morrowmere.log"
  DeleteRegKey HKLM "${SETTINGS_KEY}"
  DeleteRegKey /ifempty HKLM "Software\Tovrelin"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
SectionEnd
