# Sourced by the Wine scripts: the environment of this build tree's own prefix.
# $1 is the build directory.
build_dir=$(cd "$1" && pwd)
export WINEPREFIX="$build_dir/wineprefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8   # ANSI code page 936
export WINE=/usr/lib/wine/wine64
export WINESERVER=/usr/lib/wine/wineserver
state_dir="$build_dir/wine-state"
if [ -f "$state_dir/display" ]; then
  DISPLAY=$(cat "$state_dir/display")
  export DISPLAY
fi
