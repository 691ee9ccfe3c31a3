#!/usr/bin/env bash
# Builds the 64-bit zuzar.exe and starts it under Wine. On this desktop ($DISPLAY) it runs until you
# close it. With no desktop it runs on a private Xvfb: after a few seconds it saves a screenshot, says
# where, and stops what it started (the program, the build's wineserver and the Xvfb).
# ZUZAR_BUILD_DIR picks another build directory than the preset's build/win64.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/bootstrap.sh

build=${ZUZAR_BUILD_DIR:-build/win64}
cmake --preset win64 -B "$build" >/dev/null
cmake --build "$build" -j2 --target zuzar

exe=$build/app/zuzar.exe
screenshot=$build/zuzar-screenshot.png
user_display=${DISPLAY:-}

# The build's own prefix, made the way the test fixture makes it. With a desktop of our own the
# fixture's private Xvfb is not needed.
if [ -n "$user_display" ]; then
  ZUZAR_USE_DISPLAY=$user_display tools/wine/setup.sh "$build"
else
  tools/wine/setup.sh "$build"
fi
source tools/wine/env.sh "$build"

stop() {
  [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null || true
  tools/wine/cleanup.sh "$build"
}
trap stop EXIT

echo "start: zuzar.exe on display $DISPLAY"
"$WINE" "$exe" &
program_pid=$!
if [ -n "$user_display" ]; then
  wait "$program_pid" || true
  program_pid=
  exit 0
fi
sleep 5
if ! kill -0 "$program_pid" 2>/dev/null; then
  echo "start: zuzar.exe ended early" >&2
  exit 1
fi
import -display "$DISPLAY" -window root "$screenshot"
echo "start: screenshot saved to $screenshot"
