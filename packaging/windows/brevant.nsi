; The Windows installer of Brevant: the two programs, their samples, the
; licence and a readme; a Start menu entry; "Open with" for .vcf files; an
; entry in "Apps & features" with its uninstaller. Per-machine (Program Files)
; or per-user (the user's own programs folder, no administrator rights), chosen
; on a page or with /AllUsers or /CurrentUser; /S installs and uninstalls
; silently. Built by packaging/windows/CMakeLists.txt, which defines VERSION,
; ARCH (x64 or x86), STAGE (the folder of the files), FILES (the list of them),
; ICON and OUTFILE.
Unicode true
ManifestDPIAware true
SetCompressor /SOLID lzma

!define PRODUCT "Brevant"
!define PUBLISHER "Ambervale"
!define PROG_ID "Ambervale.Brevant.vcf"
!define UNINSTALL_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Brevant"
!define UNINSTALLER "uninstall.exe"
!if "${ARCH}" == "x64"
  !define BITS "64-bit"
!else
  !define BITS "32-bit"
!endif

Name "${PRODUCT} ${VERSION} (${BITS})"
OutFile "${OUTFILE}"
BrandingText "${PRODUCT} ${VERSION}"

; Per-machine when the user may, else per-user; the install folder and the
; mode of an earlier install come from its entry under Uninstall.
!define MULTIUSER_EXECUTIONLEVEL Highest
!define MULTIUSER_MUI
!define MULTIUSER_INSTALLMODE_COMMANDLINE
!define MULTIUSER_INSTALLMODE_INSTDIR "${PRODUCT}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_INSTDIR_REGISTRY_VALUENAME "InstallLocation"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_KEY "${UNINSTALL_KEY}"
!define MULTIUSER_INSTALLMODE_DEFAULT_REGISTRY_VALUENAME "InstallLocation"
!if "${ARCH}" == "x64"
  !define MULTIUSER_USE_PROGRAMFILES64
!endif
!include MultiUser.nsh
!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!define MUI_ICON "${ICON}"
!define MUI_UNICON "${ICON}"
!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_LICENSE "${STAGE}/LICENSE.txt"
!insertmacro MULTIUSER_PAGE_INSTALLMODE
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
; The last page offers to start Brevant, through Explorer: a per-machine
; install runs elevated, and the window is to run as the user who signed in.
!define MUI_FINISHPAGE_RUN
!define MUI_FINISHPAGE_RUN_TEXT "Run ${PRODUCT}"
!define MUI_FINISHPAGE_RUN_FUNCTION RunBrevant
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "English"

Function RunBrevant
  Exec '"$WINDIR\explorer.exe" "$INSTDIR\brevant.exe"'
FunctionEnd

VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductName" "${PRODUCT}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "CompanyName" "${PUBLISHER}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileDescription" "${PRODUCT} ${VERSION} (${BITS}) Setup"
VIAddVersionKey /LANG=${LANG_ENGLISH} "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=${LANG_ENGLISH} "LegalCopyright" "Copyright (c) 2026 Ambervale"

!include "${FILES}"

; Registry keys of the 64-bit programs live in the 64-bit view.
!macro RegistryView
  !if "${ARCH}" == "x64"
    SetRegView 64
  !endif
!macroend

; Explorer re-reads file types after they changed.
!macro FileTypesChanged
  System::Call 'shell32::SHChangeNotify(i 0x08000000, i 0, p 0, p 0)'
!macroend

; A program of ours that runs holds its file, which can then be neither
; replaced nor removed. Until both are closed the user is asked to close them;
; "Cancel" (and a silent run) ends the install or uninstall with exit code 2,
; nothing changed. One function for the installer, one for the uninstaller.
!macro ClosedProgramsFunction UN
Function ${UN}WaitForClosedPrograms
  ${Do}
    StrCpy $R0 ""
    ; The window is found by its class (kWindowClass of the Win32 view) where
    ; the system lets a running program's file be opened (Wine does).
    FindWindow $R3 "BrevantForm1"
    ${If} $R3 != 0
      StrCpy $R0 "brevant.exe"
    ${Else}
      StrCpy $R2 "brevant.exe"
      Call ${UN}NoteRunningProgram
    ${EndIf}
    StrCpy $R2 "brevant-convert.exe"
    Call ${UN}NoteRunningProgram
    ${If} $R0 == ""
      Return
    ${EndIf}
    MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "${PRODUCT} is running ($R0). Close it, then choose Retry." /SD IDCANCEL IDRETRY retry
    SetErrorLevel 2
    Abort "${PRODUCT} is running ($R0): nothing was changed."
    retry:
  ${Loop}
FunctionEnd

; Adds $R2 to the list in $R0 when the file is there and cannot be opened for
; writing: a running program's file.
Function ${UN}NoteRunningProgram
  ${IfNot} ${FileExists} "$INSTDIR\$R2"
    Return
  ${EndIf}
  ClearErrors
  FileOpen $R3 "$INSTDIR\$R2" a
  ${If} ${Errors}
    ${If} $R0 != ""
      StrCpy $R0 "$R0, "
    ${EndIf}
    StrCpy $R0 "$R0$R2"
  ${Else}
    FileClose $R3
  ${EndIf}
FunctionEnd
!macroend
!insertmacro ClosedProgramsFunction ""
!insertmacro ClosedProgramsFunction "un."

Function .onInit
  !if "${ARCH}" == "x64"
    ${IfNot} ${RunningX64}
      MessageBox MB_OK|MB_ICONSTOP "This is the 64-bit ${PRODUCT}. On 32-bit Windows, install ${PRODUCT}-${VERSION}-x86-setup.exe." /SD IDOK
      Abort
    ${EndIf}
  !endif
  !insertmacro RegistryView
  ; A folder given with /D wins over the install mode's own.
  StrCpy $0 $INSTDIR
  !insertmacro MULTIUSER_INIT
  ${If} $0 != ""
    StrCpy $INSTDIR $0
  ${EndIf}
FunctionEnd

Function un.onInit
  !insertmacro RegistryView
  !insertmacro MULTIUSER_UNINIT
FunctionEnd

Section "Brevant"
  Call WaitForClosedPrograms
  !insertmacro InstallBrevantFiles
  WriteUninstaller "$INSTDIR\${UNINSTALLER}"
  CreateShortcut "$SMPROGRAMS\${PRODUCT}.lnk" "$INSTDIR\brevant.exe" "" "$INSTDIR\brevant.exe" 0

  ; Offered in "Open with" for .vcf files; the default program stays as it was.
  WriteRegStr SHCTX "Software\Classes\${PROG_ID}" "" "vCard File"
  WriteRegStr SHCTX "Software\Classes\${PROG_ID}\DefaultIcon" "" "$INSTDIR\brevant.exe,0"
  WriteRegStr SHCTX "Software\Classes\${PROG_ID}\shell\open\command" "" '"$INSTDIR\brevant.exe" "%1"'
  WriteRegNone SHCTX "Software\Classes\.vcf\OpenWithProgids" "${PROG_ID}"
  !insertmacro FileTypesChanged

  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayName" "${PRODUCT} (${BITS})"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "Publisher" "${PUBLISHER}"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "DisplayIcon" "$INSTDIR\brevant.exe,0"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "InstallLocation" "$INSTDIR"
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "UninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode'
  WriteRegStr SHCTX "${UNINSTALL_KEY}" "QuietUninstallString" '"$INSTDIR\${UNINSTALLER}" /$MultiUser.InstallMode /S'
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "EstimatedSize" $0
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoModify" 1
  WriteRegDWORD SHCTX "${UNINSTALL_KEY}" "NoRepair" 1
SectionEnd

; Removes what the install made, file by file: documents saved beside the
; samples and the user's settings (HKCU\Software\Ambervale\Brevant) stay. A
; file still in use all the same (a program started in the meantime) is
; removed when Windows restarts, and the uninstaller says so (exit code 3010).
Section "Uninstall"
  Call un.WaitForClosedPrograms
  !insertmacro RemoveBrevantFiles
  Delete "$INSTDIR\${UNINSTALLER}"
  RMDir "$INSTDIR"
  Delete "$SMPROGRAMS\${PRODUCT}.lnk"

  DeleteRegKey SHCTX "Software\Classes\${PROG_ID}"
  DeleteRegValue SHCTX "Software\Classes\.vcf\OpenWithProgids" "${PROG_ID}"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.vcf\OpenWithProgids"
  DeleteRegKey /ifempty SHCTX "Software\Classes\.vcf"
  !insertmacro FileTypesChanged
  DeleteRegKey SHCTX "${UNINSTALL_KEY}"
  ${If} ${RebootFlag}
    MessageBox MB_OK|MB_ICONINFORMATION "A file of ${PRODUCT} was in use: Windows removes it when it restarts." /SD IDOK
    SetErrorLevel 3010
  ${EndIf}
SectionEnd
