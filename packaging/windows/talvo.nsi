; The Windows installer: talvo.exe into Program Files, a Start-menu entry with its icon, an
; uninstaller registered with the system. makensis -DDIST=<folder of talvo.exe, WebView2Loader.dll
; and its licence> -DICON=<talvo.ico> -DOUT=<setup.exe> -DVERSION=<x.yy> talvo.nsi
; A 64-bit installer for a 64-bit program: Wine here runs no 32-bit code.
Target amd64-unicode
SetCompressor /SOLID lzma
!include "MUI2.nsh"
!include "x64.nsh"

!define NAME "塔沃高清影音"
!define KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\talvo"

Name "${NAME} V${VERSION}"
OutFile "${OUT}"
InstallDir "$PROGRAMFILES64\talvo"
RequestExecutionLevel admin
!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

Function .onInit
  SetRegView 64
FunctionEnd

Function un.onInit
  SetRegView 64
FunctionEnd

Section
  SetShellVarContext all
  SetOutPath "$INSTDIR"
  File "${DIST}/talvo.exe"
  ; Finds Edge's engine for the pages, where Windows has its runtime.
  File "${DIST}/WebView2Loader.dll"
  File "${DIST}/WebView2Loader-LICENSE.txt"
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS"
  CreateShortCut "$SMPROGRAMS\${NAME}.lnk" "$INSTDIR\talvo.exe" "" "$INSTDIR\talvo.exe" 0
  WriteRegStr HKLM "${KEY}" "DisplayName" "${NAME}"
  WriteRegStr HKLM "${KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${KEY}" "DisplayIcon" "$INSTDIR\talvo.exe"
  WriteRegStr HKLM "${KEY}" "UninstallString" '"$INSTDIR\uninstall.exe"'
  WriteRegStr HKLM "${KEY}" "QuietUninstallString" '"$INSTDIR\uninstall.exe" /S'
  WriteRegDWORD HKLM "${KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${KEY}" "NoRepair" 1
SectionEnd

; What the user kept (the account, talvo.ini) lives beside the program only when the folder was
; writable; the per-user folder (%APPDATA%\talvo) is the user's and stays.
Section "Uninstall"
  SetShellVarContext all
  Delete "$SMPROGRAMS\${NAME}.lnk"
  Delete "$INSTDIR\talvo.exe"
  Delete "$INSTDIR\WebView2Loader.dll"
  Delete "$INSTDIR\WebView2Loader-LICENSE.txt"
  Delete "$INSTDIR\uninstall.exe"
  RMDir "$INSTDIR"
  DeleteRegKey HKLM "${KEY}"
SectionEnd
