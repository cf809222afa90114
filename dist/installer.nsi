; Sorvane's installer: for the current user, without administrator rights.
; Built by dist/setup, which defines VERSION (as in resources/version.h), VI_VERSION (four
; numbers), PROGRAM (the stripped Sorvane.exe to install), TOP (the repository), OUTFILE and,
; for a 64-bit program, AMD64.
;
; Silent use: Setup.exe /S [/D=folder] installs (the folder last on the line, unquoted);
; uninstall.exe /S removes the program and keeps the settings, uninstall.exe /S /REMOVESETTINGS
; removes the settings and presets too.

!ifdef AMD64
  Target amd64-unicode
!else
  Unicode true
!endif

!include MUI2.nsh
!include nsDialogs.nsh
!include FileFunc.nsh
!include LogicLib.nsh

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Sorvane"
!define SETTINGS_KEY "Software\Meradon\Sorvane"
; The class of Sorvane's main window: how a running Sorvane is found.
!define FRAME_CLASS "SorvaneFrame"

Name "Sorvane"
OutFile "${OUTFILE}"
RequestExecutionLevel user
InstallDir "$LOCALAPPDATA\Programs\Sorvane"
; An update goes where the installed version is.
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
SetCompressor /SOLID lzma
BrandingText "Sorvane ${VERSION}"
ManifestDPIAware true

VIProductVersion "${VI_VERSION}"
VIFileVersion "${VI_VERSION}"
VIAddVersionKey "ProductName" "Sorvane"
VIAddVersionKey "CompanyName" "Meradon"
VIAddVersionKey "LegalCopyright" "Copyright (C) Meradon"
VIAddVersionKey "FileDescription" "Sorvane ${VERSION} Setup"
VIAddVersionKey "FileVersion" "${VERSION}"
VIAddVersionKey "ProductVersion" "${VERSION}"

!define MUI_ICON "${TOP}/resources/Sorvane.ico"
!define MUI_UNICON "${TOP}/resources/Sorvane.ico"
!define MUI_ABORTWARNING
!define MUI_COMPONENTSPAGE_NODESC

!insertmacro MUI_PAGE_LICENSE "${TOP}/dist/LICENSE.txt"
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Sorvane.exe"
!insertmacro MUI_PAGE_FINISH

UninstPage custom un.OptionsPage un.OptionsPageLeave
!insertmacro MUI_UNPAGE_INSTFILES

!insertmacro MUI_LANGUAGE "English"

Var RemoveSettings
Var RemoveSettingsBox

; Asks the user to close a running Sorvane until it is closed; Cancel (or a silent run) ends the
; installer or uninstaller without changing anything.
!macro CLOSE_SORVANE un
Function ${un}CloseSorvane
  retry:
    FindWindow $0 "${FRAME_CLASS}"
    StrCmp $0 0 closed
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION \
      "Sorvane is running. Please close it, then click Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Quit
  closed:
FunctionEnd
!macroend
!insertmacro CLOSE_SORVANE ""
!insertmacro CLOSE_SORVANE "un."

; What the installer puts in a program folder, and the log the program writes beside itself.
!macro REMOVE_PROGRAM_FILES dir
  Delete "${dir}\Sorvane.exe"
  Delete "${dir}\abbr.dat"
  Delete "${dir}\README.txt"
  Delete "${dir}\LICENSE.txt"
  Delete "${dir}\sv_log.txt"
  Delete "${dir}\uninstall.exe"
  RMDir "${dir}"
!macroend

Section "Sorvane" SecProgram
  SectionIn RO
  Call CloseSorvane
  ; An earlier version in another folder is removed, so that one Sorvane stays installed.
  ReadRegStr $0 HKCU "${UNINSTALL_KEY}" "InstallLocation"
  ${If} $0 != ""
  ${AndIf} $0 != $INSTDIR
  ${AndIf} ${FileExists} "$0\Sorvane.exe"
    !insertmacro REMOVE_PROGRAM_FILES "$0"
  ${EndIf}

  SetOutPath "$INSTDIR"
  File "/oname=Sorvane.exe" "${PROGRAM}"
  File "${TOP}/resources/abbr.dat"
  File "${TOP}/dist/README.txt"
  File "${TOP}/dist/LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateShortcut "$SMPROGRAMS\Sorvane.lnk" "$INSTDIR\Sorvane.exe" "" "$INSTDIR\Sorvane.exe" 0 \
    SW_SHOWNORMAL "" "Cleans up text copied from e-mail, web pages and word processors"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Sorvane"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Meradon"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\Sorvane.exe"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  ${GetSize} "$INSTDIR" "/S=0K /G=0" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

Section /o "Desktop shortcut" SecDesktop
  CreateShortcut "$DESKTOP\Sorvane.lnk" "$INSTDIR\Sorvane.exe"
SectionEnd

Function .onInit
  SetShellVarContext current
  ; An update keeps a desktop shortcut the earlier installation made.
  ${If} ${FileExists} "$DESKTOP\Sorvane.lnk"
    SectionSetFlags ${SecDesktop} ${SF_SELECTED}
  ${EndIf}
FunctionEnd

Function un.onInit
  SetShellVarContext current
  Call un.CloseSorvane
  StrCpy $RemoveSettings ${BST_UNCHECKED}
  ${GetParameters} $0
  ClearErrors
  ${GetOptions} $0 "/REMOVESETTINGS" $1
  ${IfNot} ${Errors}
    StrCpy $RemoveSettings ${BST_CHECKED}
  ${EndIf}
FunctionEnd

Function un.OptionsPage
  !insertmacro MUI_HEADER_TEXT "Uninstall Sorvane" "Remove Sorvane from this computer."
  nsDialogs::Create 1018
  Pop $0
  ${NSD_CreateLabel} 0 0 100% 24u "Sorvane will be removed from $INSTDIR."
  Pop $0
  ${NSD_CreateCheckbox} 0 36u 100% 12u "Also remove my settings and presets"
  Pop $RemoveSettingsBox
  ${NSD_SetState} $RemoveSettingsBox $RemoveSettings
  nsDialogs::Show
FunctionEnd

Function un.OptionsPageLeave
  ${NSD_GetState} $RemoveSettingsBox $RemoveSettings
FunctionEnd

Section "Uninstall"
  !insertmacro REMOVE_PROGRAM_FILES "$INSTDIR"
  Delete "$SMPROGRAMS\Sorvane.lnk"
  Delete "$DESKTOP\Sorvane.lnk"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"
  ${If} $RemoveSettings == ${BST_CHECKED}
    DeleteRegKey HKCU "${SETTINGS_KEY}"
    DeleteRegKey /ifempty HKCU "Software\Meradon"
  ${EndIf}
SectionEnd
