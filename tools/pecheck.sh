#!/usr/bin/env bash
# Checks a Windows executable without running it: its PE format, its subsystem, and that it
# imports no DLL outside an allowed set (so no libstdc++, libgcc or winpthread DLL is needed).
# pecheck.sh OBJDUMP FILE FORMAT SUBSYSTEM ALLOWED_DLL...
#   FORMAT     pei-i386 or pei-x86-64
#   SUBSYSTEM  2 (Windows GUI) or 3 (console), or - to skip
#   ALLOWED    DLL names, case-insensitive
set -euo pipefail
objdump=$1 file=$2 format=$3 subsystem=$4
shift 4
allowed=$(printf '%s\n' "$@" | tr '[:upper:]' '[:lower:]')

headers=$("$objdump" -p "$file")
fail=0
if ! grep -q "file format $format\$" <<<"$headers"; then
  echo "FAIL: $file is not $format: $(grep -m1 'file format' <<<"$headers")"
  fail=1
fi
if [ "$subsystem" != "-" ]; then
  actual=$(awk '$1 == "Subsystem" { print $2 + 0 }' <<<"$headers")
  if [ "$actual" != "$subsystem" ]; then
    echo "FAIL: $file has subsystem $actual, expected $subsystem"
    fail=1
  fi
fi
imports=$(awk '/DLL Name:/ { print tolower($3) }' <<<"$headers" | sort -u)
while read -r dll; do
  [ -z "$dll" ] && continue
  if ! grep -qx "$dll" <<<"$allowed"; then
    echo "FAIL: $file imports $dll"
    fail=1
  fi
done <<<"$imports"
echo "$file: $format, imports: $(tr '\n' ' ' <<<"$imports")"
exit $fail
