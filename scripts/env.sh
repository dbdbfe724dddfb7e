# Sourced by the other scripts: where things live and how Wine runs them.
# TARGET is i686 (the product) or x86_64 (the same sources as a 64-bit build); without one, the
# target that runs on this machine (TARGET_WHY says which and why). Each target has a folder of
# its own under BUILDS, with its own libpng, locale and Wine prefix; BUILD may name it directly.
source "$(dirname "${BASH_SOURCE[0]}")/machine.sh"

# Without TARGET: the product wherever it runs here, else the 64-bit build. On a fresh machine
# that runs 32-bit code, whether 32-bit Wine can be installed is known only once set-up has tried.
if [ -n "${TARGET:-}" ]; then
  TARGET_WHY="chosen by TARGET"
else
  if runs_32bit_code && [ ! -f "$NO_32BIT_WINE" ] && ! wine32_installed; then
    "$ROOT/scripts/packages.sh" >&2
  fi
  if runs_32bit_wine; then
    TARGET=i686 TARGET_WHY="the product: this machine runs 32-bit code and 32-bit Wine is installed"
  else
    TARGET=x86_64 TARGET_WHY="the 64-bit build: the product cannot run here: $(why_no_32bit_wine)"
  fi
fi
BUILD=${BUILD:-$BUILDS/$TARGET}
export TARGET TARGET_WHY BUILDS BUILD
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

# For the scripts that run the program: ends at once where TARGET cannot run here.
require_runnable_target() {
  [ "$TARGET" = i686 ] || return 0
  runs_32bit_wine && return 0
  echo "TARGET=i686 cannot run on this machine: $(why_no_32bit_wine); TARGET=x86_64 runs the 64-bit build" >&2
  exit 1
}
