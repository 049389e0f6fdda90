#!/usr/bin/env bash
# A Windows program imports nothing but DLLs every Windows has.
#   windows_imports_test.sh OBJDUMP PROGRAM.exe
set -euo pipefail
objdump=$1 exe=$2
system='^(kernel32|user32|gdi32|comctl32|comdlg32|advapi32|shell32|ole32|oleaut32|msvcrt|ws2_32|api-ms-win-.*)\.dll$'
dlls=$("$objdump" -p "$exe" | awk '/DLL Name:/ { print tolower($3) }')
[ -n "$dlls" ] || { echo "no imports found in $exe"; exit 1; }
bad=$(grep -vE "$system" <<<"$dlls" || true)
[ -z "$bad" ] || { echo "$exe imports: $bad"; exit 1; }
echo "$(basename "$exe") imports only: $(paste -sd' ' <<<"$dlls")"
