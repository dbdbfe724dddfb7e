#!/usr/bin/env bash
# Installs the Debian packages of every target; a second run only checks and returns. With
# "sources", enables the source lists instead. 32-bit Wine is tried once per checkout, only where
# 32-bit code runs: where the package lists at hand cannot give it, set-up marks that, and the
# i686 product is built and checked, not run.
set -euo pipefail
source "$(dirname "$0")/machine.sh"

PACKAGES=(g++-mingw-w64-i686-posix g++-mingw-w64-x86-64-posix wine wine64 xvfb cmake ninja-build
          googletest libz-mingw-w64-dev fonts-wqy-microhei fonts-wine locales imagemagick xdotool
          x11-utils dpkg-dev gnuplot-nox python3 unzip nsis)
PACKAGES_32BIT=(wine32:i386)

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

# Never removes an installed package: where that is the only way, the install fails instead.
apt_install() {
  DEBIAN_FRONTEND=noninteractive as_root apt-get install -y -q --no-install-recommends --no-remove "$@"
}

# "package installed wanted" for each Multi-Arch "same" library in the i386 closure of the
# arguments that is installed for amd64. Both architectures of such a library must have one
# version; wanted is the installed one where i386 has it, else the newest that both have. (An i386
# list caught mid-sync leaves i386 at the release's versions while amd64 has the security ones.)
release_twins() {
  local closure installed
  closure=$(apt-cache depends --recurse --no-recommends --no-suggests --no-conflicts --no-breaks \
              --no-replaces --no-enhances "$@" 2>/dev/null | sed -n 's/^\([^ <][^ ]*\):i386$/\1/p' | sort -u)
  installed=$(dpkg-query -W -f='${db:Status-Abbrev} ${Multi-Arch} ${Package} ${Version}\n' $closure 2>/dev/null |
                awk '$1 == "ii" && $2 == "same" { print $3, $4 }')
  [ -n "$installed" ] || return 0
  { echo "$installed"; apt-cache madison $(awk '{ print $1 ":i386", $1 }' <<<"$installed") 2>/dev/null; } |
    awk -F' *[|] *' '
      NF == 1 { split($0, w, " "); have[w[1]] = w[2]; next }
      { sub(/^ +/, "", $1); name = $1; arch = sub(/:i386$/, "", name) ? "i386" : "amd64"
        has[name, arch, $2] = 1; versions[name] = versions[name] " " $2 }
      END {
        for (name in have) {
          want = have[name]
          if (!has[name, "i386", want]) {
            want = ""; n = split(versions[name], v, " ")
            for (i = 1; i <= n && want == ""; i++) if (has[name, "i386", v[i]] && has[name, "amd64", v[i]]) want = v[i]
          }
          if (want != "") print name, have[name], want
        }
      }'
}

# "package=version" for the other installed amd64 packages of the same source as each changed
# library ("package installed wanted" lines), where that version exists: a -dev package that
# requires its library's exact version moves with it instead of being removed.
same_source_pins() {
  local name version source
  while read -r name _ version; do
    source=$(dpkg-query -W -f='${source:Package}' "$name:amd64")
    dpkg-query -W -f='${db:Status-Abbrev} ${source:Package} ${Package} ${Architecture}\n' |
      awk -v src="$source" -v name="$name" '$1 == "ii" && $2 == src && $3 != name && $4 != "i386" { print $3 }' |
      while read -r sibling; do
        apt-cache madison "$sibling" | grep -q " | $version | " && echo "$sibling:amd64=$version"
      done
  done
  return 0
}

# The plain install of 32-bit Wine, else one with each library in step between the architectures
# (each downgrade named). Either way wine64 must still be there afterwards.
install_32bit_wine() {
  if ! apt_install "${PACKAGES_32BIT[@]}"; then
    local twins changed pins
    twins=$(release_twins "${PACKAGES_32BIT[@]}")
    changed=$(awk '$2 != $3' <<<"$twins")
    pins=($(awk '{ print $1 ":amd64=" $3, $1 ":i386=" $3 }' <<<"$twins") $(same_source_pins <<<"$changed"))
    while read -r name installed wanted; do
      dpkg --compare-versions "$wanted" lt "$installed" &&
        echo "setup: $name goes back from $installed to $wanted, the version both architectures have" >&2
    done <<<"$changed"
    apt_install --allow-downgrades "${PACKAGES_32BIT[@]}" "${pins[@]}" || return 1
  fi
  missing wine64 && { echo "setup: wine64 is gone after installing 32-bit Wine" >&2; return 1; }
  return 0
}

# The source lists, for the libraries built from Debian's source packages.
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

if [ "${1:-}" = sources ]; then
  enable_sources
  exit
fi

wanted=("${PACKAGES[@]}") try_32bit=
if runs_32bit_code && [ ! -f "$NO_32BIT_WINE" ]; then try_32bit=yes wanted+=("${PACKAGES_32BIT[@]}"); fi
missing "${wanted[@]}" || exit 0
if [ -n "$try_32bit" ]; then as_root dpkg --add-architecture i386; fi
apt_update
apt_install "${PACKAGES[@]}"
if [ -n "$try_32bit" ] && ! install_32bit_wine; then
  mkdir -p "$BUILDS"
  echo "32-bit Wine could not be installed from the package lists at hand" >"$NO_32BIT_WINE"
  echo "setup: $(cat "$NO_32BIT_WINE"); the i686 product will be built, not run" >&2
fi
