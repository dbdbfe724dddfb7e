#!/bin/sh
# check_imports.sh OBJDUMP EXE: lists the DLLs that EXE imports; fails on any DLL that a plain
# Windows lacks, and on the dial-up and IP Helper libraries, which the program binds at run time.
set -e
# The tests run in a Chinese locale, and objdump speaks it.
export LC_ALL=C
dlls=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p')
echo "$dlls"
echo "$dlls" | grep -qix 'kernel32.dll'
system='advapi32|comctl32|comdlg32|gdi32|kernel32|msimg32|msvcrt|ole32|oleaut32|shell32|shlwapi|user32|version|ws2_32'
if echo "$dlls" | grep -Eivx "($system)\.dll"; then
    echo "imports a DLL that is not part of every Windows, or one it must bind at run time" >&2
    exit 1
fi
