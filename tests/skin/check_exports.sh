#!/usr/bin/env bash
# Checks a DLL's exports without running it.
#   check_exports.sh OBJDUMP DLL [--stdcall BYTES] NAME...
# The DLL must export exactly the NAMEs, undecorated (no leading "_", no "@8"). With --stdcall,
# each export's code must end by removing BYTES bytes of arguments ("ret $BYTES"): a caller that
# compares its stack before and after the call sees any other count as a fault.
set -euo pipefail
objdump=$1 dll=$2
shift 2
stdcall=""
if [ "${1:-}" = "--stdcall" ]; then
  stdcall=$2
  shift 2
fi

headers=$("$objdump" -p "$dll")
names=$(awk '/\[Ordinal\/Name Pointer\] Table/ { table = 1; next }
             table && /^\t\[/ { print $NF; next }
             table { table = 0 }' <<<"$headers" | sort)
expected=$(printf '%s\n' "$@" | sort)
fail=0
if [ "$names" != "$expected" ]; then
  echo "FAIL: $dll exports [$(tr '\n' ' ' <<<"$names")], expected [$(tr '\n' ' ' <<<"$expected")]"
  fail=1
fi

if [ -n "$stdcall" ]; then
  base=$(awk '$1 == "ImageBase" { print $2 }' <<<"$headers")
  # Export Address Table rows, in ordinal order, match the name table only through the ordinal
  # table; with a single export they are the same row.
  while read -r rva; do
    start=$(printf '0x%x' $((0x$base + 0x$rva)))
    stop=$(printf '0x%x' $((0x$base + 0x$rva + 4096)))
    first_ret=$("$objdump" -d --start-address="$start" --stop-address="$stop" "$dll" |
                grep -m1 -E '\sret' || true)
    if ! grep -qE "ret\s+\\\$0x$(printf '%x' "$stdcall")\b" <<<"$first_ret"; then
      echo "FAIL: the export at RVA 0x$rva returns with '${first_ret##*:}', expected ret \$0x$(printf '%x' "$stdcall")"
      fail=1
    fi
  done < <(awk '/Export Address Table -- Ordinal Base/ { table = 1; next }
                table && /Export RVA/ { print $(NF - 2); next }
                table && NF == 0 { table = 0 }' <<<"$headers")
fi
[ $fail -eq 0 ] && echo "$dll exports: $(tr '\n' ' ' <<<"$names")${stdcall:+(stdcall, $stdcall bytes)}"
exit $fail
