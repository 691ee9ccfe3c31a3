#!/usr/bin/env bash
# Prepares the build tree's Wine prefix and a private Xvfb display: setup.sh BUILD_DIR
set -euo pipefail
here=$(dirname "$0")
source "$here/env.sh" "$1"
mkdir -p "$state_dir"

if [ ! -f "$WINEPREFIX/.zuzar-ready-2" ]; then
  "$WINE" wineboot -i >/dev/null 2>&1
  # Without a window manager Wine stalls about 2 s after every modal window closes; unmanaged
  # windows avoid that, and Wine then draws its own caption.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  # A crashing test program ends at once, with a failing exit code, instead of waiting in Wine's
  # debugger until CTest's timeout: the debugger named here does not exist, so none is started.
  "$WINE" reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\AeDebug' /v Debugger /t REG_SZ \
    /d zuzar-no-debugger /f >/dev/null 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.zuzar-ready-2"
fi

if [ -z "${ZUZAR_USE_DISPLAY:-}" ]; then
  # A display number of our own, so parallel runs and a developer's desktop are never touched.
  "$here/cleanup.sh" "$1" >/dev/null 2>&1 || true
  for n in $(seq 91 140); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    echo $! > "$state_dir/xvfb.pid"
    for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X$n" ] && break; sleep 0.1; done
    if [ -e "/tmp/.X11-unix/X$n" ]; then
      echo ":$n" > "$state_dir/display"
      break
    fi
  done
  [ -f "$state_dir/display" ] || { echo "setup: no Xvfb display could be started" >&2; exit 1; }
else
  echo "$ZUZAR_USE_DISPLAY" > "$state_dir/display"
fi
export DISPLAY=$(cat "$state_dir/display")
# A persistent wineserver keeps every test from paying for its start.
"$WINESERVER" -p </dev/null >/dev/null 2>&1
# Start the prefix's services now, detached from any output pipe: started by the first test program,
# they would inherit its pipe and CTest would wait for them forever.
"$WINE" wineboot </dev/null >/dev/null 2>&1
echo "setup: prefix $WINEPREFIX, display $DISPLAY"
