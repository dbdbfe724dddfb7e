; The setup program of Pordex: Pordex.exe and its guide under Program Files, a Start-menu and a
; desktop shortcut, an entry in "Programs and Features", and an uninstaller that takes all of it
; away again, with the logon task and kdset.ini (it holds the password in plain text).
; scripts/package.sh builds it: makensis -INPUTCHARSET UTF8 -DVERSION=x.y.z -DSTAGE=folder
; -DOUTFILE=setup.exe, where folder holds Pordex.exe and 使用说明.txt; -DAMD64 makes it 64-bit.
Unicode true
!ifdef AMD64
  ; For the tests only: the same script around the x86_64 build, on machines whose Wine runs no
  ; 32-bit program.
  Target amd64-unicode
  !pragma warning disable 6012  ; ${RunningX64} is settled at compile time there
!endif
SetCompressor /SOLID lzma
RequestExecutionLevel admin
ManifestSupportedOS all

!define UNINST_KEY "Software\Microsoft\Windows\CurrentVersion\Uninstall\Pordex"

Name "Pordex ${VERSION}"
OutFile "${OUTFILE}"
; On 64-bit Windows, the 32-bit program goes to "Program Files (x86)".
InstallDir "$PROGRAMFILES\Pordex"
; An upgrade lands where the installed copy is, beside its kdset.ini.
InstallDirRegKey HKLM "${UNINST_KEY}" "InstallLocation"
BrandingText "Pordex ${VERSION}"

; The single-instance guard knows a running Pordex by its FileDescription, so the setup program
; must carry another one, or the Pordex it starts at the end would refuse to run beside it.
VIProductVersion "${VERSION}.0"
VIAddVersionKey /LANG=2052 "ProductName" "Pordex"
VIAddVersionKey /LANG=2052 "CompanyName" "Qelvo"
VIAddVersionKey /LANG=2052 "FileDescription" "Pordex 安装程序"
VIAddVersionKey /LANG=2052 "FileVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "ProductVersion" "${VERSION}"
VIAddVersionKey /LANG=2052 "LegalCopyright" "版权所有 (C) Qelvo"

!include MUI2.nsh
!include FileFunc.nsh
!include LogicLib.nsh
!include x64.nsh

!define MUI_ABORTWARNING
!insertmacro MUI_PAGE_WELCOME
!insertmacro MUI_PAGE_DIRECTORY
!insertmacro MUI_PAGE_INSTFILES
!define MUI_FINISHPAGE_RUN "$INSTDIR\Pordex.exe"
!define MUI_FINISHPAGE_RUN_TEXT "运行 Pordex"
!insertmacro MUI_PAGE_FINISH
!insertmacro MUI_UNPAGE_CONFIRM
!insertmacro MUI_UNPAGE_INSTFILES
!insertmacro MUI_LANGUAGE "SimpChinese"

; Closes every running Pordex, as its close box does, and returns once $INSTDIR\Pordex.exe can be
; written: Windows locks a running program's file, so a file that opens for writing is not
; running. Aborts when it still runs after the user was told to quit it (at once when silent).
!macro DEFINE_CLOSE_PORDEX prefix
Function ${prefix}ClosePordex
  retry:
  ; The Main window is the one Pordex window that no other window owns. Each is asked once: one
  ; that hangs is waited for below, not asked again.
  StrCpy $0 0
  ${Do}
    FindWindow $0 "PordexWindow" "" 0 $0
    ${IfThen} $0 = 0 ${|} ${ExitDo} ${|}
    System::Call "user32::GetWindow(p r0, i 4) p .r1"
    ${If} $1 P= 0
      SendMessage $0 ${WM_CLOSE} 0 0 /TIMEOUT=2000
    ${EndIf}
  ${Loop}
  StrCpy $2 0
  ${DoWhile} ${FileExists} "$INSTDIR\Pordex.exe"
    ClearErrors
    FileOpen $1 "$INSTDIR\Pordex.exe" a
    ${IfNot} ${Errors}
      FileClose $1
      Return
    ${EndIf}
    IntOp $2 $2 + 1
    ${IfThen} $2 > 20 ${|} ${ExitDo} ${|}
    Sleep 500
  ${Loop}
  ${IfNot} ${FileExists} "$INSTDIR\Pordex.exe"
    Return
  ${EndIf}
  MessageBox MB_RETRYCANCEL|MB_ICONEXCLAMATION "Pordex 还在运行。请右击通知区域里 Pordex 的图标，选“退出”，然后点“重试”。" /SD IDCANCEL IDRETRY retry
  SetErrorLevel 2
  Quit
FunctionEnd
!macroend
!insertmacro DEFINE_CLOSE_PORDEX ""
!insertmacro DEFINE_CLOSE_PORDEX "un."

; Where UAC is off or absent, the manifest alone does not make the setup program an administrator's.
!macro DEFINE_ONINIT prefix
Function ${prefix}.onInit
  UserInfo::GetAccountType
  Pop $0
  ${If} $0 != "Admin"
    MessageBox MB_OK|MB_ICONSTOP "请以管理员身份运行：右击它，选“以管理员身份运行”。" /SD IDOK
    SetErrorLevel 740  ; ERROR_ELEVATION_REQUIRED
    Quit
  ${EndIf}
FunctionEnd
!macroend
!insertmacro DEFINE_ONINIT ""
!insertmacro DEFINE_ONINIT "un"

; The shortcut that Pordex itself puts back on the desktop: the program, shown normally, nothing
; else set (CreateShortCut would add a working folder and cannot say SW_SHOW). $0: the link.
Function WriteProgramShortcut
  System::Call "ole32::CoCreateInstance(g '{00021401-0000-0000-C000-000000000046}', p 0, i 1, g '{000214F9-0000-0000-C000-000000000046}', *p .r1) i .r2"
  ${If} $2 = 0
    System::Call "$1->20(w '$INSTDIR\Pordex.exe')"  ; IShellLinkW::SetPath
    System::Call "$1->15(i 5)"                      ; IShellLinkW::SetShowCmd(SW_SHOW)
    System::Call "$1->0(g '{0000010b-0000-0000-C000-000000000046}', *p .r3) i .r2"
    ${If} $2 = 0
      System::Call "$3->6(w r0, i 1)"               ; IPersistFile::Save
      System::Call "$3->2()"
    ${EndIf}
    System::Call "$1->2()"
  ${EndIf}
FunctionEnd

Section
  Call ClosePordex
  SetOutPath "$INSTDIR"
  File "${STAGE}\Pordex.exe"
  File "${STAGE}\使用说明.txt"
  WriteUninstaller "$INSTDIR\uninst.exe"

  SetShellVarContext all
  StrCpy $0 "$SMPROGRAMS\Pordex.lnk"
  Call WriteProgramShortcut
  ; The program looks for its shortcut on the desktop of the user who runs it.
  SetShellVarContext current
  StrCpy $0 "$DESKTOP\Pordex.lnk"
  Call WriteProgramShortcut

  WriteRegStr HKLM "${UNINST_KEY}" "DisplayName" "Pordex"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayVersion" "${VERSION}"
  WriteRegStr HKLM "${UNINST_KEY}" "Publisher" "Qelvo"
  WriteRegStr HKLM "${UNINST_KEY}" "DisplayIcon" "$INSTDIR\Pordex.exe,0"
  WriteRegStr HKLM "${UNINST_KEY}" "UninstallString" '"$INSTDIR\uninst.exe"'
  WriteRegStr HKLM "${UNINST_KEY}" "QuietUninstallString" '"$INSTDIR\uninst.exe" /S'
  WriteRegStr HKLM "${UNINST_KEY}" "InstallLocation" "$INSTDIR"
  ${GetSize} "$INSTDIR" "/S=0K" $0 $1 $2
  WriteRegDWORD HKLM "${UNINST_KEY}" "EstimatedSize" $0
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoModify" 1
  WriteRegDWORD HKLM "${UNINST_KEY}" "NoRepair" 1
SectionEnd

Section Uninstall
  Call un.ClosePordex
  ; Each user who asked for auto-start has a task "Pordex <SID>", earlier versions one "Pordex"
  ; for the whole machine; each would start an elevated program that is no longer there. The
  ; scheduler keeps a file of each task's name in System32\Tasks, outside the 32-bit view.
  ${DisableX64FSRedirection}
  FindFirst $1 $2 "$WINDIR\System32\Tasks\Pordex*"
  ${DoWhile} $2 != ""
    nsExec::Exec '"$WINDIR\System32\schtasks.exe" /Delete /TN "$2" /F'
    Pop $0
    FindNext $1 $2
  ${Loop}
  FindClose $1
  ${EnableX64FSRedirection}
  Delete "$INSTDIR\Pordex.exe"
  Delete "$INSTDIR\使用说明.txt"
  Delete "$INSTDIR\kdset.ini"
  ; left there when the program could not move a new shortcut to its folder
  Delete "$INSTDIR\Pordex.lnk"
  Delete "$INSTDIR\uninst.exe"
  RMDir "$INSTDIR"

  SetShellVarContext all
  Delete "$SMPROGRAMS\Pordex.lnk"
  ; Pordex puts its shortcut back on the desktop of every user who starts it.
  ${If} ${RunningX64}
    SetRegView 64
  ${EndIf}
  StrCpy $1 0
  ${Do}
    EnumRegKey $2 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList" $1
    ${IfThen} $2 == "" ${|} ${ExitDo} ${|}
    ReadRegStr $3 HKLM "SOFTWARE\Microsoft\Windows NT\CurrentVersion\ProfileList\$2" "ProfileImagePath"
    ExpandEnvStrings $3 $3
    ${If} $3 != ""
      Delete "$3\Desktop\Pordex.lnk"
    ${EndIf}
    IntOp $1 $1 + 1
  ${Loop}
  SetRegView default
  SetShellVarContext current
  Delete "$DESKTOP\Pordex.lnk"
  DeleteRegKey HKLM "${UNINST_KEY}"
SectionEnd
