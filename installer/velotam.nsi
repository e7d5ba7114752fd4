; The installer of the plug-in: it finds the player's folder, puts gen_Velotam.dll (and the
; language file template, when there is none yet) into its Plugins folder and registers an
; uninstaller that takes away exactly that. The user's settings file is never touched.
;   makensis -INPUTCHARSET UTF8 -DDLL=path -DLANGFILE=path -DOUTFILE=path velotam.nsi
; -DTARGET=amd64-unicode builds a 64-bit installer (for the 64-bit test build only); the
; release's installer is the default, a 32-bit one (x86-unicode).
; Silent: Velotam-setup.exe /S [/D=player folder]

!ifdef TARGET
  Target ${TARGET}
!else
  Unicode true
!endif
!include LogicLib.nsh

!ifndef DLL | LANGFILE | OUTFILE
  !error "DLL, LANGFILE and OUTFILE must be defined"
!endif

!define PRODUCT "Velotam"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Velotam"
!define UNINSTALLER "Velotam-uninstall.exe"

Name "${PRODUCT}"
OutFile "${OUTFILE}"
RequestExecutionLevel admin
SetCompressor /SOLID lzma
ShowInstDetails show
ShowUninstDetails show
DirText "Bitte wählen Sie den Ordner des Players (den Ordner mit winamp.exe)." "Ordner des Players"
LoadLanguageFile "${NSISDIR}\Contrib\Language files\German.nlf"

Page directory "" "" CheckPlayerFolder
Page instfiles
UninstPage uninstConfirm
UninstPage instfiles

; The player's folder as installers for this player find it: the player's own key, else the
; folder of its uninstaller, else its usual place. /D= on the command line goes first.
Function .onInit
  ${If} $INSTDIR != ""
    Return
  ${EndIf}
  ReadRegStr $INSTDIR HKCU "Software\Winamp" ""
  ${If} $INSTDIR == ""
    ReadRegStr $0 HKLM "Software\Microsoft\Windows\CurrentVersion\Uninstall\Winamp" \
      "UninstallString"
    ${If} $0 != ""
      ; The path may stand in quotes; the folder is everything before its last backslash.
      StrCpy $1 $0 1
      ${If} $1 == '"'
        StrCpy $0 $0 "" 1
        StrCpy $2 0
        ${Do}
          StrCpy $1 $0 1 $2
          ${IfThen} $1 == '"' ${|} ${ExitDo} ${|}
          ${IfThen} $1 == "" ${|} ${ExitDo} ${|}
          IntOp $2 $2 + 1
        ${Loop}
        StrCpy $0 $0 $2
      ${EndIf}
      StrLen $2 $0
      ${Do}
        IntOp $2 $2 - 1
        ${IfThen} $2 < 0 ${|} ${ExitDo} ${|}
        StrCpy $1 $0 1 $2
        ${IfThen} $1 == "\" ${|} ${ExitDo} ${|}
      ${Loop}
      ${If} $2 > 0
        StrCpy $INSTDIR $0 $2
      ${EndIf}
    ${EndIf}
  ${EndIf}
  ${If} $INSTDIR == ""
    StrCpy $INSTDIR "$PROGRAMFILES\Winamp"
  ${EndIf}
FunctionEnd

Function CheckPlayerFolder
  ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
    MessageBox MB_ICONEXCLAMATION|MB_OK \
      "In $INSTDIR ist kein Player (winamp.exe). Bitte wählen Sie den Ordner des Players."
    Abort
  ${EndIf}
FunctionEnd

Section "Velotam"
  ; The directory page's check does not run in silent mode.
  ${IfNot} ${FileExists} "$INSTDIR\winamp.exe"
    MessageBox MB_ICONSTOP|MB_OK "In $INSTDIR ist kein Player (winamp.exe)." /SD IDOK
    SetErrorLevel 2
    Quit
  ${EndIf}
  SetOutPath "$INSTDIR\Plugins"
  File "/oname=gen_Velotam.dll" "${DLL}"
  ; A language file that is there already is the user's: it stays as it is.
  StrCpy $0 0
  ${IfNot} ${FileExists} "$INSTDIR\Plugins\Velotam_Language.dat"
    File "/oname=Velotam_Language.dat" "${LANGFILE}"
    StrCpy $0 1
  ${EndIf}
  WriteUninstaller "$INSTDIR\Plugins\${UNINSTALLER}"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} (Player-Plug-in)"
  WriteRegStr HKLM "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\Plugins\${UNINSTALLER}"'
  WriteRegStr HKLM "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "InstalledLanguageFile" $0
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINSTALL_KEY}" "NoRepair" 1
  MessageBox MB_ICONINFORMATION|MB_OK "${PRODUCT} ist installiert. Bitte starten Sie den Player \
    neu und öffnen Sie dann in seinen Einstellungen unter Plug-ins die Konfiguration von \
    ${PRODUCT}." /SD IDOK
SectionEnd

; The uninstaller lies in the Plugins folder, so $INSTDIR is that folder here.
Section "Uninstall"
  Delete "$INSTDIR\gen_Velotam.dll"
  ReadRegDWORD $0 HKLM "${UNINSTALL_KEY}" "InstalledLanguageFile"
  ${If} $0 == 1
    Delete "$INSTDIR\Velotam_Language.dat"
  ${EndIf}
  Delete "$INSTDIR\${UNINSTALLER}"
  DeleteRegKey HKLM "${UNINSTALL_KEY}"
  ; gen_Velotam.ini holds the user's settings: it stays.
SectionEnd
