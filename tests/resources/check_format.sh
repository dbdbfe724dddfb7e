#!/bin/sh
# check_format.sh OBJDUMP EXE FORMAT: EXE is a Windows GUI program in the object format FORMAT
# (pei-i386 for the 32-bit product, pei-x86-64 for the 64-bit build).
set -e
# The tests run in a Chinese locale, and objdump speaks it.
export LC_ALL=C
"$1" -f "$2" | grep -F "file format $3"
"$1" -p "$2" | grep -E '^Subsystem[[:space:]]+0+2[[:space:]]+\(Windows GUI\)'
