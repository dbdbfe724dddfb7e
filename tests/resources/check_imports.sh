#!/bin/sh
# Lists the DLLs that the executable $1 imports; fails when one is not part of Windows.
set -e
dlls=$(i686-w64-mingw32-objdump -p "$1" | sed -n 's/^[[:space:]]*DLL Name: //p')
echo "$dlls"
echo "$dlls" | grep -qix 'kernel32.dll'
if echo "$dlls" | grep -Ei 'zlib|png|^lib'; then
    echo "imports a DLL that Windows does not ship" >&2
    exit 1
fi
