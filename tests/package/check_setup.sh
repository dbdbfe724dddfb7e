#!/usr/bin/env bash
# check_setup.sh SETUP BUILT_EXE DRIVER, in a target's environment (scripts/env.sh) on an X display:
# in a fresh prefix, the silent setup installs the files, shortcuts and uninstall entry; Pordex
# starts and puts back the same desktop shortcut; a second setup closes it and keeps kdset.ini and a
# user's logon task; the silent uninstaller closes it and leaves none of them.
set -euo pipefail
setup=$(realpath "$1"); built=$(realpath "$2"); driver=$(realpath "$3")
WINEPREFIX=$(mktemp -d) HOME=$WINEPREFIX/home
export WINEPREFIX HOME
mkdir -p "$HOME/Desktop"  # the user's desktop in the prefix links here
trap 'wineserver -k 2>/dev/null || true; rm -rf "$WINEPREFIX"' EXIT
fail() { echo "check_setup: $*" >&2; exit 1; }
quiet() { "$WINE" "$@" </dev/null >/dev/null 2>&1; }
dir=$WINEPREFIX/drive_c/Program\ Files/Pordex
# Another user's: the program run here cannot register its own, as Wine reports every folder as
# its user's, whom the program does not trust with what it starts elevated.
task_name='Pordex S-1-5-21-0-0-0-1001' task=$WINEPREFIX/drive_c/windows/system32/tasks/$task_name
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Pordex'
shortcuts() { find "$HOME/Desktop" "$WINEPREFIX/drive_c/users" "$WINEPREFIX/drive_c/ProgramData" -name Pordex.lnk | sort; }
value() { "$WINE" reg query "$key" /v "$1" 2>/dev/null | iconv -f GBK | tr -d '\r' | sed -n "s/^ *$1 *REG_[A-Z]* *//p"; }
# up to 10 s for a condition
until_true() { for _ in $(seq 50); do "$@" && return; sleep 0.2; done; false; }

quiet "$setup" /S || fail "the silent setup ended with $?"
[ "$(LC_ALL=C ls "$dir" | tr '\n' ' ')" = "Pordex.exe uninst.exe 使用说明.txt " ] || fail "installed: $(ls "$dir")"
cmp -s "$built" "$dir/Pordex.exe" || fail "the installed Pordex.exe is not the built one"
[ "$(shortcuts | grep -c -e /Desktop/ -e '/Start Menu/Programs/')" = 2 ] || fail "shortcuts: $(shortcuts)"
entry="$(value QuietUninstallString)|$(value InstallLocation)|$(value NoModify)|$(value DisplayVersion)"
[[ $entry =~ ^'"C:\Program Files\Pordex\uninst.exe" /S|C:\Program Files\Pordex|0x1|'[0-9]+\.[0-9]+\.[0-9]+$ ]] ||
  fail "uninstall entry: $entry"
(( $(value EstimatedSize) >= $(stat -c %s "$built") / 1024 )) || fail "EstimatedSize $(value EstimatedSize) KB"

# The program puts back a missing desktop shortcut; it must be the one the setup made.
desktop=$(shortcuts | grep /Desktop/)
mv "$desktop" "$WINEPREFIX/setup.lnk"
"$WINE" 'C:\Program Files\Pordex\Pordex.exe' </dev/null >/dev/null 2>&1 &
program=$!
quiet "$driver" main || fail "the installed Pordex shows no Main window"
until_true test -e "$desktop" || fail "the installed Pordex put no shortcut on the desktop"
cmp "$desktop" "$WINEPREFIX/setup.lnk" || fail "the setup's desktop shortcut is not the program's"
printf '<Task xmlns="http://schemas.microsoft.com/windows/2004/02/mit/task"><Actions><Exec><Command>%s</Command></Exec></Actions></Task>' \
  'C:\Program Files\Pordex\Pordex.exe' >"$WINEPREFIX/drive_c/task.xml"
quiet "$WINE" schtasks /Create /TN "$task_name" /XML 'C:\task.xml' && until_true test -e "$task" || fail "no logon task"

printf '[设置]\r\n自动监控=是\r\n' | iconv -t GBK >"$dir/kdset.ini"
cp "$dir/kdset.ini" "$WINEPREFIX/kdset.ini"
quiet "$setup" /S || fail "the setup over a running Pordex ended with $?"
until_true eval '! kill -0 "$program" 2>/dev/null' || fail "the setup left Pordex running"
cmp -s "$dir/kdset.ini" "$WINEPREFIX/kdset.ini" || fail "the upgrade lost kdset.ini"
[ -e "$task" ] || fail "the upgrade removed the logon task"

"$WINE" 'C:\Program Files\Pordex\Pordex.exe' </dev/null >/dev/null 2>&1 &
quiet "$driver" main || fail "the upgraded Pordex shows no Main window"
quiet "$dir/uninst.exe" /S || fail "the silent uninstaller ended with $?"
# The uninstaller runs on as a copy of itself outside the folder; Pordex must be gone too.
timeout 60 wineserver -w || fail "the uninstaller left Pordex running"
[ ! -e "$dir" ] || fail "left behind: $(ls -A "$dir")"
[ -z "$(shortcuts)" ] || fail "shortcuts left behind: $(shortcuts)"
[ -z "$(value DisplayName)" ] || fail "the uninstall entry is left behind"
[ ! -e "$task" ] || fail "the logon task is left behind"
echo "check_setup: installed, started, upgraded and uninstalled"
