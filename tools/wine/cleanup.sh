#!/usr/bin/env bash
# Stops what setup.sh started for this build tree: cleanup.sh BUILD_DIR
set -uo pipefail
source "$(dirname "$0")/env.sh" "$1"
"$WINESERVER" -k 2>/dev/null
if [ -f "$state_dir/xvfb.pid" ]; then
  kill "$(cat "$state_dir/xvfb.pid")" 2>/dev/null
  rm -f "$state_dir/xvfb.pid" "$state_dir/display"
fi
exit 0
