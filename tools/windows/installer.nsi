; The Windows installer of Brevanto, made with NSIS (makensis runs on Debian):
;   makensis -DVERSION=1.0 -DPACKAGE=<program folder> -DOUTFILE=<setup.exe> -DICON=<app_icon.ico>
;            -DFILES=<uninstall list> installer.nsi
; The program keeps the laboratory's data beside itself, so it is installed into a folder the
; user can write (C:\Brevanto by default), never under Program Files, and without administrator
; rights. Installing over a laboratory's folder replaces only the program and the manual; the
; initial password store is placed only where there is none. The uninstaller removes the
; program and asks before touching the data (the answer kept by default, and by /S, is No).
; A 64-bit installer for a 64-bit program (it also runs where only 64-bit programs run).
Target amd64-unicode
SetCompressor /SOLID lzma
RequestExecutionLevel user
ManifestDPIAware true

!include "MUI2.nsh"
!include "LogicLib.nsh"
!include "FileFunc.nsh"

!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brevanto"
!define UNINSTALLER "Disinstalla Brevanto.exe"

Name "Brevanto ${VERSION}"
OutFile "${OUTFILE}"
InstallDir "C:\Brevanto"
InstallDirRegKey HKCU "${UNINSTALL_KEY}" "InstallLocation"
BrandingText "Brevanto ${VERSION}"

VIProductVersion "${VERSION}.0.0"
VIAddVersionKey /LANG=1040 "ProductName" "Brevanto"
VIAddVersionKey /LANG=1040 "FileDescription" "Installazione di Brevanto"
VIAddVersionKey /LANG=1040 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=1040 "LegalCopyright" "2026 Brevanto"

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!define MUI_WELCOMEPAGE_TEXT "Questa procedura installa Brevanto ${VERSION}, l'archivio delle opere d'arte e delle relazioni tecniche di restauro.$\r$\n$\r$\nBrevanto conserva i dati del laboratorio nella stessa cartella del programma: se la cartella scelta contiene già un laboratorio, archivi, foto, allegati, cronologia, impostazioni e backup restano come sono, e vengono sostituiti soltanto il programma e la guida."
!define MUI_DIRECTORYPAGE_TEXT_TOP "Brevanto e i dati del laboratorio saranno nella cartella indicata qui sotto. Sceglierne una in cui si può scrivere (non la cartella «Programmi»); per più postazioni, può essere una cartella condivisa in rete."
!define MUI_FINISHPAGE_RUN "$INSTDIR\brevanto.exe"
!define MUI_FINISHPAGE_RUN_TEXT "Avvia Brevanto"

!insertmacro MUI_PAGE_WELCOME
!define MUI_PAGE_CUSTOMFUNCTION_LEAVE CheckFolder
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_COMPONENTS
!insertmacro MUI_PAGE_INSTFILES
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "Italian"

; A folder under Program Files cannot be written by the program: the data would be lost to
; the system's redirection. A folder holding a laboratory is kept, and the user is told so.
Function CheckFolder
  StrLen $1 "$PROGRAMFILES"
  StrCpy $0 "$INSTDIR" $1
  StrLen $3 "$PROGRAMFILES64"
  StrCpy $2 "$INSTDIR" $3
  ${If} $0 == "$PROGRAMFILES"
  ${OrIf} $2 == "$PROGRAMFILES64"
    MessageBox MB_OK|MB_ICONEXCLAMATION "Brevanto tiene i dati del laboratorio accanto al programma: scegliere una cartella in cui si può scrivere, fuori dalla cartella «Programmi» (per esempio C:\Brevanto)."
    Abort
  ${EndIf}
  ${If} ${FileExists} "$INSTDIR\Inventario_Opere.pro"
  ${OrIf} ${FileExists} "$INSTDIR\Relazioni_Tecniche_Restauro.pro"
  ${OrIf} ${FileExists} "$INSTDIR\unins000.dll"
    MessageBox MB_OK|MB_ICONINFORMATION "Nella cartella scelta c'è già un laboratorio di Brevanto. Archivi, cronologia, foto, allegati, impostazioni, password e backup restano come sono: vengono sostituiti soltanto il programma e la guida."
  ${EndIf}
FunctionEnd

Function .onInit
  ; A silent install (/S /D=...) checks the folder as the page would, without asking.
  ${If} ${Silent}
    StrLen $1 "$PROGRAMFILES"
    StrCpy $0 "$INSTDIR" $1
    ${If} $0 == "$PROGRAMFILES"
      SetErrorLevel 2
      Quit
    ${EndIf}
  ${EndIf}
FunctionEnd

Section "Brevanto (programma e guida)" SecProgram
  SectionIn RO
  SetOutPath "$INSTDIR"
  ; Everything of the program; the initial password store only where there is none.
  File /r /x unins000.dll "${PACKAGE}\*.*"
  ${IfNot} ${FileExists} "$INSTDIR\unins000.dll"
    File "${PACKAGE}\unins000.dll"
  ${EndIf}
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"

  SetShellVarContext current
  CreateDirectory "$SMPROGRAMS\Brevanto"
  CreateShortcut "$SMPROGRAMS\Brevanto\Brevanto.lnk" "$INSTDIR\brevanto.exe" "" "$INSTDIR\brevanto.exe" 0
  CreateShortcut "$SMPROGRAMS\Brevanto\Guida di Brevanto.lnk" "$INSTDIR\Guida.pdf"
  CreateShortcut "$SMPROGRAMS\Brevanto\Disinstalla Brevanto.lnk" "$INSTDIR\${UNINSTALLER}"

  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayName" "Brevanto"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "Publisher" "Brevanto"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brevanto.exe,0"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr HKCU "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}"'
  WriteRegStr HKCU "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /S'
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "NoRepair" 1
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKCU "${UNINSTALL_KEY}" "EstimatedSize" $0
SectionEnd

Section "Collegamento sul desktop" SecDesktop
  SetShellVarContext current
  CreateShortcut "$DESKTOP\Brevanto.lnk" "$INSTDIR\brevanto.exe" "" "$INSTDIR\brevanto.exe" 0
SectionEnd

!insertmacro MUI_FUNCTION_DESCRIPTION_BEGIN
  !insertmacro MUI_DESCRIPTION_TEXT ${SecProgram} "Il programma, le librerie che usa e la guida. I dati del laboratorio già presenti nella cartella non vengono toccati."
  !insertmacro MUI_DESCRIPTION_TEXT ${SecDesktop} "Un collegamento a Brevanto sul desktop."
!insertmacro MUI_FUNCTION_DESCRIPTION_END

Section "Uninstall"
  ; The program's own files, as the package listed them.
  !include "${FILES}"
  Delete "$INSTDIR\${UNINSTALLER}"
  SetShellVarContext current
  Delete "$DESKTOP\Brevanto.lnk"
  Delete "$SMPROGRAMS\Brevanto\Brevanto.lnk"
  Delete "$SMPROGRAMS\Brevanto\Guida di Brevanto.lnk"
  Delete "$SMPROGRAMS\Brevanto\Disinstalla Brevanto.lnk"
  RMDir "$SMPROGRAMS\Brevanto"
  DeleteRegKey HKCU "${UNINSTALL_KEY}"

  ; The laboratory's data stay unless the user says otherwise (a silent uninstall keeps them).
  MessageBox MB_YESNO|MB_ICONQUESTION|MB_DEFBUTTON2 "Il programma è stato rimosso.$\r$\n$\r$\nEliminare anche i dati del laboratorio che si trovano in $INSTDIR (archivi, cronologia, foto, allegati, impostazioni, password e backup)? Non si possono recuperare.$\r$\n$\r$\nRispondendo No i dati restano nella cartella, e una nuova installazione li ritrova." /SD IDNO IDYES removeData
  Goto done
removeData:
  Delete "$INSTDIR\Inventario_Opere.pro"
  Delete "$INSTDIR\Relazioni_Tecniche_Restauro.pro"
  Delete "$INSTDIR\Inventario_Opere.cronologia"
  Delete "$INSTDIR\Relazioni_Tecniche_Restauro.cronologia"
  Delete "$INSTDIR\Inventario_Opere.cronologia.indice"
  Delete "$INSTDIR\Relazioni_Tecniche_Restauro.cronologia.indice"
  Delete "$INSTDIR\unins000.dll"
  Delete "$INSTDIR\Contratti.ini"
  Delete "$INSTDIR\Brevanto.ini"
  Delete "$INSTDIR\Logo.bmp"
  Delete "$INSTDIR\Inventario_Opere.xls"
  RMDir /r "$INSTDIR\Inventario"
  RMDir /r "$INSTDIR\Restauri"
  RMDir /r "$INSTDIR\Documenti_Allegati"
  RMDir /r "$INSTDIR\Backup"
  RMDir /r "$INSTDIR\.brevanto-ripristino"
done:
  ; The folder goes only when nothing else is left in it.
  RMDir "$INSTDIR"
SectionEnd
