#!/usr/bin/env bash
# Runs a 64-bit Windows program of this build under Wine: run.sh BUILD_DIR PROGRAM [ARGS...]
set -euo pipefail
source "$(dirname "$0")/env.sh" "$1"
shift
exec "$WINE" "$@"
