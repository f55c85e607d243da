#!/usr/bin/env bash
# The Wine test bench: `start` brings up a virtual display, the prefix (made
# once per build tree) and a persistent wineserver; `stop` ends them.
set -euo pipefail
source "$(dirname "$0")/wine-env.sh"
mkdir -p "$AUTOPAUSE_WINE_DIR"

display_alive() {
  [ -f "$AUTOPAUSE_WINE_DIR/xvfb.pid" ] && kill -0 "$(cat "$AUTOPAUSE_WINE_DIR/xvfb.pid")" 2>/dev/null
}

start_display() {
  display_alive && return 0
  local fd_file="$AUTOPAUSE_WINE_DIR/displayfd"
  rm -f "$fd_file"
  setsid Xvfb -displayfd 3 -screen 0 1280x800x24 -nolisten tcp 3>"$fd_file" \
    </dev/null >"$AUTOPAUSE_WINE_DIR/xvfb.log" 2>&1 &
  echo $! >"$AUTOPAUSE_WINE_DIR/xvfb.pid"
  for _ in $(seq 100); do
    [ -s "$fd_file" ] && break
    sleep 0.1
  done
  [ -s "$fd_file" ] || { echo "wine-bench: Xvfb did not start" >&2; exit 1; }
  echo ":$(head -n1 "$fd_file")" >"$AUTOPAUSE_WINE_DIR/display"
}

make_prefix() {
  [ -f "$WINEPREFIX/.autopause-ready" ] && return 0
  rm -rf "$WINEPREFIX"
  "$WINE" wineboot -i </dev/null >"$AUTOPAUSE_WINE_DIR/wineboot.log" 2>&1
  # Without a window manager, managed windows stall about 1 s on every show and hide.
  "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f \
    </dev/null >>"$AUTOPAUSE_WINE_DIR/wineboot.log" 2>&1
  "$WINESERVER" -w
  touch "$WINEPREFIX/.autopause-ready"
}

case "${1:-}" in
  prefix)  # on the current display, for running the program on a user's desktop
    make_prefix
    ;;
  start)
    start_display
    source "$(dirname "$0")/wine-env.sh"
    make_prefix
    # One server for the whole run; its helpers must not hold our output open.
    setsid "$WINESERVER" -p </dev/null >/dev/null 2>&1 || true
    "$WINE" cmd /c exit </dev/null >/dev/null 2>&1 || true
    ;;
  stop)
    "$WINESERVER" -k 2>/dev/null || true
    if display_alive; then kill "$(cat "$AUTOPAUSE_WINE_DIR/xvfb.pid")" 2>/dev/null || true; fi
    rm -f "$AUTOPAUSE_WINE_DIR/xvfb.pid" "$AUTOPAUSE_WINE_DIR/display"
    ;;
  *)
    echo "usage: $0 start|stop|prefix" >&2
    exit 2
    ;;
esac
