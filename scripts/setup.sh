#!/usr/bin/env bash
# Installs everything the build and the tests of TARGET need; a second run only checks and returns.
# Where this machine cannot execute 32-bit code, the i686 product is still built (never run): its
# artwork is drawn by the generators of the x86_64 build, which must be set up and built first.
set -euo pipefail
source "$(dirname "$0")/env.sh"

PACKAGES=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 xvfb cmake ninja-build
          googletest libz-mingw-w64-dev fonts-wqy-microhei fonts-wine locales imagemagick xdotool
          x11-utils dpkg-dev gnuplot-nox python3 unzip)
# 32-bit Wine installs and starts only where 32-bit code runs.
PACKAGES_32BIT=(wine32:i386)
LIBPNG_VERSION=1.6.39-2+deb12u5
TRIPLE=$TARGET-w64-mingw32

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

# Where no 32-bit code runs, the lists of a foreign i386 architecture that the machine may carry
# are not needed. A list caught mid-sync on the mirror gets two more tries; after that the lists
# fetched are used, and the install that follows says whether they were enough.
apt_update() {
  local only_native=()
  runs_32bit_code || only_native=(-o "APT::Architectures=$(dpkg --print-architecture)")
  local attempt
  for attempt in 1 2 3; do
    as_root apt-get update -q "${only_native[@]}" && return
    [ "$attempt" = 3 ] || sleep 15
  done
  echo "setup: some package lists could not be fetched; going on with those that were" >&2
}

missing() {
  [ "$(dpkg-query -W -f='${Status}\n' "$@" 2>/dev/null | grep -c 'install ok installed')" -ne $# ]
}

apt_install() { DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends "$@"; }

# 32-bit Wine is tried once per checkout: when the lists at hand cannot satisfy it, the i686
# product is built and checked, not run, as where no 32-bit code runs at all.
install_packages() {
  local wanted=("${PACKAGES[@]}") try_32bit=
  if runs_32bit_code && [ ! -f "$NO_32BIT_WINE" ]; then try_32bit=yes wanted+=("${PACKAGES_32BIT[@]}"); fi
  missing "${wanted[@]}" || return 0
  if [ -n "$try_32bit" ]; then as_root dpkg --add-architecture i386; fi
  apt_update
  apt_install "${PACKAGES[@]}"
  if [ -n "$try_32bit" ] && ! apt_install "${PACKAGES_32BIT[@]}"; then
    mkdir -p "$BUILDS"
    echo "32-bit Wine could not be installed from the package lists at hand" >"$NO_32BIT_WINE"
    echo "setup: $(cat "$NO_32BIT_WINE"); the i686 product will be built, not run" >&2
  fi
}

enable_sources() {
  local list=/etc/apt/sources.list.d/debian.sources
  if [ -f "$list" ]; then
    grep -q '^Types:.*deb-src' "$list" && return
    as_root sed -i 's/^Types: deb$/Types: deb deb-src/' "$list"
  else
    grep -rqs '^deb-src .*bookworm main' /etc/apt/sources.list /etc/apt/sources.list.d/ && return
    echo 'deb-src http://deb.debian.org/debian bookworm main' | as_root tee /etc/apt/sources.list.d/pordex-src.list >/dev/null
  fi
  apt_update
}

build_libpng() {
  [ -f "$DEPS/lib/libpng.a" ] && return
  enable_sources
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

install_packages
mkdir -p "$BUILD"
build_libpng
if [ "$TARGET" = x86_64 ] || runs_32bit_wine; then
  make_locale
  make_prefix
fi
configure
