# Sourced: what this machine can run, whatever the target. BUILDS may be set by the caller to put
# the builds elsewhere; set-up marks there when 32-bit Wine could not be installed.
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
BUILDS=${BUILDS:-$ROOT/build}
case $BUILDS in /*) ;; *) BUILDS=$PWD/$BUILDS ;; esac
NO_32BIT_WINE=$BUILDS/no-32bit-wine
export BUILDS

as_root() { if [ "$(id -u)" = 0 ]; then "$@"; else sudo "$@"; fi; }

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

wine32_installed() { [ -x /usr/lib/wine/wine ] && [ -d /usr/lib/i386-linux-gnu/wine ]; }

# True where the i686 product runs here: 32-bit code runs and 32-bit Wine is installed.
runs_32bit_wine() {
  runs_32bit_code && [ ! -f "$NO_32BIT_WINE" ] && wine32_installed
}

# Why the i686 product does not run here, in one line (nothing where it does).
why_no_32bit_wine() {
  if ! runs_32bit_code; then
    echo "this machine executes no 32-bit code (${RUNS_32BIT_CODE#no: })"
  elif ! runs_32bit_wine; then
    cat "$NO_32BIT_WINE" 2>/dev/null || echo "32-bit Wine is not installed"
  fi
}

# makensis crashes (SIGSEGV) when it cannot load the locale the scripts set, and the private
# zh_CN locale exists only for a target that runs here; its output is the same in C.UTF-8.
makensis() { env LC_ALL=C.UTF-8 LANG=C.UTF-8 makensis "$@"; }
