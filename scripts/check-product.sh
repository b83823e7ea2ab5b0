#!/usr/bin/env bash
# Checks that a built setup stub can ship: a Windows GUI program for the expected processor
# that needs nothing but system libraries (no MinGW runtime DLLs beside it).
#   check-product.sh PROGRAM.exe i686|x86_64
set -euo pipefail
exe=$1
arch=$2
case "$arch" in
  i686) objdump=i686-w64-mingw32-objdump; format="pei-i386" ;;
  x86_64) objdump=x86_64-w64-mingw32-objdump; format="pei-x86-64" ;;
  *) echo "unknown processor $arch" >&2; exit 2 ;;
esac
headers=$($objdump -p "$exe")
grep -q "file format $format" <<<"$headers" || { echo "$exe: not $format" >&2; exit 1; }
grep -qE "^Subsystem[[:space:]]+0+2[[:space:]]" <<<"$headers" \
  || { echo "$exe: not a GUI program" >&2; exit 1; }
system_dlls='^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|ole32|oleaut32|uuid|shlwapi|msvcrt|version|winmm|atl|riched20)\.dll$'
while read -r dll; do
  if ! grep -qiE "$system_dlls" <<<"$dll"; then
    echo "$exe: depends on $dll, which a bare Windows does not have" >&2
    exit 1
  fi
done < <(awk '/DLL Name:/ {print $3}' <<<"$headers")
echo "$exe: $format GUI program using system libraries only"
