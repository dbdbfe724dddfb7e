# Sourced by the other scripts: where things live and how Wine runs them.
# BUILD may be set by the caller to use another build folder.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILD=${BUILD:-$ROOT/build}
case $BUILD in /*) ;; *) BUILD=$PWD/$BUILD ;; esac
DEPS=$BUILD/deps
export WINEPREFIX=$BUILD/wineprefix
export WINEARCH=win32
export WINEDEBUG=-all
export WINEDLLOVERRIDES="winemenubuilder.exe=d;mscoree=d;mshtml=d;winedbg.exe=d"
export HOME=$BUILD/home
export LOCPATH=$BUILD/locale
# The shell itself cannot load the private locale and would warn about it; Wine can.
{ export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8; } 2>/dev/null
