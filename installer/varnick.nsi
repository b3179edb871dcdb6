; The Varnick installer, built on Debian with makensis by scripts/release.sh.
; makensis -DVERSION=1.0.0 -DDIST=<dist folder> -DFILES=<files.nsh> -DOUTFILE=<setup.exe> varnick.nsi
;
; Installs for the current user or for every user of the machine (/CurrentUser, /AllUsers on
; the command line, or the first page), into a folder of the user's choice (/D=...). The
; uninstaller removes the program files it installed; the user's settings, presets and the
; disabled startup entries that the startup manager keeps stay unless the user ticks the box
; (or passes /REMOVEUSERDATA to a silent uninstall).

Unicode true
SetCompressor /SOLID lzma

!define APPNAME "Varnick"
!define UNINSTKEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Varnick"

Name "${APPNAME} ${VERSION}"
OutFile "${OUTFILE}"
BrandingText "${APPNAME} ${VERSION}"

!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${APPNAME}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTKEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTKEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include Sections.nsh
!include LogicLib.nsh

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=1033 "ProductName" "${APPNAME}"
VIAddVersionKey /LANG=1033 "FileDescription" "${APPNAME} setup"
VIAddVersionKey /LANG=1033 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1033 "CompanyName" "${APPNAME}"
VIAddVersionKey /LANG=1033 "LegalCopyright" "${APPNAME}"

!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_COMPONENTS
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function .onInit
  ; A folder given with /D= is in $INSTDIR already; the install mode must not replace it.
  StrCpy $R9 $INSTDIR
  !insertmacro MULTIUSER_INIT
  StrCmp $R9 "" +2
    StrCpy $INSTDIR $R9
FunctionEnd

Section "Program files"
  SetOutPath "$INSTDIR"
  !insertmacro INSTALL_FILES
  WriteUninstaller "$INSTDIR\uninstall.exe"
  CreateDirectory "$SMPROGRAMS\${APPNAME}"
  !insertmacro START_MENU
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayName" "${APPNAME}"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTKEY}" "Publisher" "${APPNAME}"
  WriteRegStr SHCTX "${UNINSTKEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTKEY}" "DisplayIcon" "$INSTDIR\morvel.exe"
  WriteRegStr SHCTX "${UNINSTKEY}" "UninstallString" '"$INSTDIR\uninstall.exe" /$MultiUser.InstallMode'
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTKEY}" "NoRepair" 1
SectionEnd


Section "un.Program files" SecProgram
  SectionIn RO
  !insertmacro UNINSTALL_FILES
  !insertmacro UNSTART_MENU
  RMDir "$SMPROGRAMS\${APPNAME}"
  DeleteRegKey SHCTX "${UNINSTKEY}"
  Delete "$INSTDIR\uninstall.exe"
SectionEnd

; Unticked unless the user asks: these are the user's own settings and the only copy of the
; startup entries the user disabled.
Section /o "un.Settings, presets and disabled startup entries" SecUserData
  Delete "$INSTDIR\morvel.ini"
  Delete "$INSTDIR\plugins.ini"
  Delete "$INSTDIR\formpos.ini"
  Delete "$INSTDIR\stelmar.dat"
  Delete "$INSTDIR\stelmar.dat.values"
  Delete "$INSTDIR\stelmar.dat.deleted"
  Delete "$INSTDIR\stelmar.cfg"
  Delete "$INSTDIR\assertion.txt"
  Delete "$INSTDIR\smr_debug.txt"
  RMDir /r "$INSTDIR\lmas"
  RMDir /r "$INSTDIR\cuas"
SectionEnd

Section "-un.Folders"
  ; Never recursive: plug-ins and files the user added stay, and so does their folder.
  RMDir "$INSTDIR\plug-ins"
  RMDir "$INSTDIR"
SectionEnd

Function un.onInit
  ; The uninstaller removes the folder it lies in, whatever the registry says.
  StrCpy $R9 $INSTDIR
  !insertmacro MULTIUSER_UNINIT
  StrCpy $INSTDIR $R9
  ${GetParameters} $R0
  ClearErrors
  ${GetOptions} $R0 "/REMOVEUSERDATA" $R1
  ${IfNot} ${Errors}
    !insertmacro SelectSection ${SecUserData}
  ${EndIf}
FunctionEnd

!insertmacro MUI_UNFUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "The programs, the standard plug-ins and the manual."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecUserData} "Also delete morvel.ini with your presets, plugins.ini with your protected cookies, and stelmar.dat, stelmar.cfg and the lmas and cuas folders: the startup entries you disabled are lost for good."
!insertmacro MUI_UNFUNCTION_DESCRIPTION_END
