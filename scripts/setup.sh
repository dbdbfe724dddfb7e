#!/usr/bin/env bash
# Installs everything the build and the tests of TARGET need; a second run only checks and returns.
# Where this machine cannot execute 32-bit code, the i686 product is still built (never run): its
# artwork is drawn by the generators of the x86_64 build, which must be set up and built first.
set -euo pipefail
source "$(dirname "$0")/env.sh"

LIBPNG_VERSION=1.6.39-2+deb12u5
TRIPLE=$TARGET-w64-mingw32

build_libpng() {
  [ -f "$DEPS/lib/libpng.a" ] && return
  "$ROOT/scripts/packages.sh" sources
  local work=$DEPS/src
  rm -rf "$work" && mkdir -p "$work"
  (cd "$work" && apt-get source --download-only "libpng1.6=$LIBPNG_VERSION" >/dev/null &&
     dpkg-source -x ./*.dsc libpng >/dev/null)
  cmake -S "$work/libpng" -B "$work/build" -G Ninja \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$TARGET.cmake" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_INSTALL_PREFIX="$DEPS" -DPNG_SHARED=OFF -DPNG_TESTS=OFF -DPNG_EXECUTABLES=OFF \
    -DZLIB_LIBRARY="/usr/$TRIPLE/lib/libz.a" -DZLIB_INCLUDE_DIR="/usr/$TRIPLE/include" >/dev/null
  cmake --build "$work/build" --target install >/dev/null
  rm -rf "$work"
}

make_locale() {
  [ -d "$LOCPATH/zh_CN.UTF-8" ] && return
  mkdir -p "$LOCPATH"
  localedef -i zh_CN -f UTF-8 "$LOCPATH/zh_CN.UTF-8"
}

# Bump when configure_prefix changes, so that existing prefixes take the new settings.
PREFIX_SETTINGS=5

make_prefix() {
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$HOME"
    wine wineboot -i >/dev/null 2>&1
  fi
  [ "$(cat "$WINEPREFIX/.pordex-settings" 2>/dev/null)" = "$PREFIX_SETTINGS" ] && return
  configure_prefix
  # The registry reaches the disk when the server ends; a server kept up by someone else saves
  # it later, so do not wait for that one forever.
  timeout 20 wineserver -w || true
  echo "$PREFIX_SETTINGS" >"$WINEPREFIX/.pordex-settings"
}

configure_prefix() {
  local reg='wine reg add'
  # The simulated dial-up service replaces Wine's stubs for every program of this prefix.
  $reg 'HKCU\Software\Wine\DllOverrides' /v rasapi32 /d native,builtin /f
  $reg 'HKCU\Software\Wine\DllOverrides' /v iphlpapi /d native,builtin /f
  $reg 'HKCU\Software\Wine\Fonts\Replacements' /v 微软雅黑 /t REG_SZ /d 'WenQuanYi Micro Hei' /f
  # Every program runs on one virtual desktop: windows get their captions and the notification
  # area exists, as on a real PC, and hiding a window does not wait for a window manager.
  $reg 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f
  $reg 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f
  # Windows' own link colour: Wine's default theme would draw links in a pale grey.
  $reg 'HKCU\Software\Microsoft\Windows\CurrentVersion\ThemeManager' /v ThemeActive /d 0 /f
  $reg 'HKCU\Control Panel\Colors' /v HotTrackingColor /d '0 102 204' /f
  # The caption buttons' glyphs.
  cp /usr/share/wine/fonts/marlett.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
} >/dev/null 2>&1

configure() {
  [ -f "$BUILD/build.ninja" ] && return
  local runs=ON artwork=()
  if [ "$TARGET" = i686 ] && ! runs_32bit_wine; then
    runs=OFF
    artwork=(-DPORDEX_ARTWORK_FROM="$BUILDS/x86_64/resources")
  fi
  cmake -S "$ROOT" -B "$BUILD" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$ROOT/cmake/mingw-$TARGET.cmake" -DPORDEX_DEPS_PREFIX="$DEPS" \
    -DZLIB_LIBRARY="/usr/$TRIPLE/lib/libz.a" -DPORDEX_RUNS_HERE=$runs "${artwork[@]}"
}

"$ROOT/scripts/packages.sh"
mkdir -p "$BUILD"
build_libpng
if [ "$TARGET" = x86_64 ] || runs_32bit_wine; then
  make_locale
  make_prefix
fi
configure
