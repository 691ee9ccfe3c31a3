#!/usr/bin/env bash
# Builds all three presets and runs every test: natively (with ASan and UBSan), under Wine (64-bit
# Windows build) and the checks of the 32-bit program that need no running.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh || exit 1

status=0
for preset in native win64 win32; do
  echo "=== $preset ==="
  if ! cmake --preset "$preset" >/dev/null || ! cmake --build --preset "$preset"; then
    echo "=== $preset: build FAILED ==="
    status=1
    continue
  fi
  ctest --preset "$preset" || status=1
done
[ $status -eq 0 ] && echo "=== all presets passed ===" || echo "=== FAILURES above ==="
exit $status
