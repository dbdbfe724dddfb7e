# Sourced by the other scripts: where things live and how Wine runs them.
# TARGET is i686 (the product) or x86_64 (the same sources as a 64-bit build); without one, the
# target this machine runs (TARGET_WHY says which and why).
# BUILDS may be set by the caller to put the builds elsewhere; each target has a folder of its
# own there, with its own libpng, locale and Wine prefix. BUILD may name that folder directly.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# True where this machine executes 32-bit x86 code. Some run under a hypervisor without 32-bit
# compatibility mode; there a 32-bit program fails at once with "Exec format error". The probe
# is a minimal i386 ELF that exits with 42; its answer is kept for the scripts this one starts.
runs_32bit_code() {
  if [ -z "${RUNS_32BIT_CODE:-}" ]; then
    local probe status=0
    probe=$(mktemp)
    printf '\177ELF\1\1\1\0\0\0\0\0\0\0\0\0\2\0\3\0\1\0\0\0\124\200\4\010\064\0\0\0\0\0\0\0\0\0\0\0\064\0\040\0\1\0\0\0\0\0\0\0\1\0\0\0\0\0\0\0\0\200\4\010\0\200\4\010\140\0\0\0\140\0\0\0\5\0\0\0\0\020\0\0\270\1\0\0\0\273\052\0\0\0\315\200' >"$probe"
    chmod +x "$probe"
    timeout 10 "$probe" 2>/dev/null || status=$?
    rm -f "$probe"
    export RUNS_32BIT_CODE=$([ "$status" = 42 ] && echo yes || echo "no: a 32-bit program ended with $status")
  fi
  [ "$RUNS_32BIT_CODE" = yes ]
}

# True where the i686 product runs here: 32-bit code runs and 32-bit Wine is installed. Set-up
# writes NO_32BIT_WINE when it could not install it.
runs_32bit_wine() {
  runs_32bit_code && [ ! -f "$NO_32BIT_WINE" ] && [ -d /usr/lib/i386-linux-gnu/wine ]
}

if [ -n "${TARGET:-}" ]; then
  TARGET_WHY="chosen by TARGET"
elif runs_32bit_code; then
  TARGET=i686 TARGET_WHY="the product"
else
  TARGET=x86_64 TARGET_WHY="the 64-bit build: this machine executes no 32-bit code (${RUNS_32BIT_CODE#no: })"
fi
BUILDS=${BUILDS:-$ROOT/build}
case $BUILDS in /*) ;; *) BUILDS=$PWD/$BUILDS ;; esac
BUILD=${BUILD:-$BUILDS/$TARGET}
export TARGET TARGET_WHY BUILDS BUILD
NO_32BIT_WINE=$BUILDS/no-32bit-wine
DEPS=$BUILD/deps
case $TARGET in
  i686) export WINEARCH=win32 WINE=/usr/lib/wine/wine ;;
  x86_64) export WINEARCH=win64 WINE=/usr/lib/wine/wine64 ;;
  *) echo "unknown TARGET $TARGET (i686 or x86_64)" >&2; return 1 ;;
esac
# Programs that Wine starts from Windows programs use the same loader.
export WINELOADER=$WINE
export WINEPREFIX=$BUILD/wineprefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d;winedbg.exe=d"
export HOME=$BUILD/home
export LOCPATH=$BUILD/locale
# The shell itself cannot load the private locale and would warn about it; Wine can.
{ export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8; } 2>/dev/null

wine() { "$WINE" "$@"; }
