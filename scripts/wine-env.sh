# Sourced: the environment of the Wine test bench of one build tree.
# AUTOPAUSE_WINE_DIR holds the prefix, the display number and the logs.
repo_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
export AUTOPAUSE_WINE_DIR=${AUTOPAUSE_WINE_DIR:-$repo_root/build/wine}
export WINEPREFIX=$AUTOPAUSE_WINE_DIR/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=zh_CN.UTF-8 LC_ALL=zh_CN.UTF-8
# The 64-bit loader runs the bench's x86_64 builds; the plain one picks by binary.
if [ -x /usr/lib/wine/wine64 ]; then WINE=/usr/lib/wine/wine64; else WINE=wine; fi
if [ -x /usr/lib/wine/wineserver64 ]; then WINESERVER=/usr/lib/wine/wineserver64; else WINESERVER=wineserver; fi
export WINE WINESERVER
if [ -f "$AUTOPAUSE_WINE_DIR/display" ]; then
  DISPLAY=$(cat "$AUTOPAUSE_WINE_DIR/display")
  export DISPLAY
fi
