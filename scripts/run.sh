#!/usr/bin/env bash
# Installs what is missing, builds, and starts autopause under Wine.
# With a display it opens the window there. Without one it runs the whole road
# of a game exit in a virtual display beside a stand-in game and accelerator
# client, saves screenshots in build/ and exits 0.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
for preset in win32 win64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" -j"$(nproc)" >/dev/null
done

# The shipped program is 32-bit; kernels without IA-32 emulation cannot run
# 32-bit Wine, and then the x86_64 build of the same sources runs instead.
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  exe=build/win32/autopause.exe loader=/usr/lib/wine/wine
else
  echo "run: 32-bit programs cannot run here; running the x86_64 build of the same sources"
  exe=build/win64/autopause.exe loader=
fi

if [ -n "${DISPLAY:-}" ]; then
  user_display=$DISPLAY
  source scripts/wine-env.sh
  export DISPLAY=$user_display
  scripts/wine-bench.sh prefix
  exec "${loader:-$WINE}" "$exe"
fi

scripts/wine-bench.sh start
trap 'scripts/wine-bench.sh stop' EXIT
source scripts/wine-env.sh
echo "run: no display; showing a game exit in a virtual display ($DISPLAY)"
"$WINE" build/win64/tests/wine/demo.exe "$(pwd)/build" </dev/null 2>/dev/null | iconv -f GBK -t UTF-8
for shot in window notice; do
  convert "build/screenshot-$shot.bmp" "build/screenshot-$shot.png" && rm -f "build/screenshot-$shot.bmp"
done
cp build/screenshot-window.png build/screenshot.png
echo "run: screenshots saved: build/screenshot.png (the window), build/screenshot-notice.png (the notice)"
