#!/usr/bin/env bash
# check_package.sh ZIP BUILT_EXE FOLDER...: the zip holds just Pordex.exe (the built one, naming
# none of the FOLDERs), 使用说明.txt (named in GBK for old unzippers, its text after a UTF-8
# byte-order mark) and SHA256SUMS, which verifies.
set -euo pipefail
[ $# -ge 3 ] || { echo "usage: check_package.sh ZIP BUILT_EXE FOLDER..." >&2; exit 2; }
zip=$(realpath "$1"); built=$(realpath "$2"); shift 2
export LC_ALL=C.UTF-8; unset LOCPATH
work=$(mktemp -d); trap 'rm -rf "$work"' EXIT
fail() { echo "check_package: $*" >&2; exit 1; }
unzip -q "$zip" -d "$work"; cd "$work"
[ "$(ls -A | sort | tr '\n' ' ')" = "Pordex.exe SHA256SUMS 使用说明.txt " ] || fail "holds: $(ls -A | tr '\n' ' ')"
cmp -s "$built" Pordex.exe || fail "Pordex.exe is not the built one"
sha256sum --quiet -c SHA256SUMS || fail "SHA256SUMS does not verify"
[ "$(head -c 3 使用说明.txt | od -An -tx1)" = " ef bb bf" ] || fail "the guide has no byte-order mark"
grep -qaF "$(printf 使用说明.txt | iconv -t GBK)" "$zip" || fail "the guide's name is not stored in GBK"
! i686-w64-mingw32-strings -a Pordex.exe | grep -F "${@/#/-e}" || fail "Pordex.exe names a folder of this machine"
