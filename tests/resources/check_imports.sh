#!/bin/sh
# check_imports.sh OBJDUMP EXE [DLL...]: lists the DLLs that EXE imports at load time; fails on
# any DLL outside the Known DLLs of Windows 7 to 11, which the loader takes from the system
# directory only, and the DLLs named after EXE (a test's own, never the product's). comctl32
# comes from the side-by-side store the manifest names. Everything else, the dial-up and IP
# Helper libraries too, is bound at run time from the system directory: a DLL of that name
# beside the elevated program would otherwise be loaded into it.
set -e
# The tests run in a Chinese locale, and objdump speaks it.
export LC_ALL=C
dlls=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p')
echo "$dlls"
echo "$dlls" | grep -qix 'kernel32.dll'
known='advapi32|comdlg32|gdi32|imm32|kernel32|msvcrt|ole32|oleaut32|shell32|shlwapi|user32|ws2_32'
shift 2
allowed=$(printf '|%s' comctl32 "$@")
if echo "$dlls" | grep -Eivx "($known$allowed)\.dll"; then
    echo "imports a DLL that is not a Known DLL: it would be looked for beside the program first" >&2
    exit 1
fi
