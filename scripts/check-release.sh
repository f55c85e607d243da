#!/usr/bin/env bash
# Checks the release package: builds it with scripts/release.sh (twice, the two
# zips must be the same bytes), checks that it holds exactly autopause.exe,
# README.txt and SHA256SUMS, that the checksums verify, and runs the unzipped
# program under Wine: its main window opens, Esc ends it, exit code 0.
set -uo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

tmp=$(mktemp -d /tmp/autopause-check-release.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
fail() { echo "check-release: FAIL: $*"; exit 1; }

version=$(git show HEAD:CMakeLists.txt | sed -n 's/^project(autopause VERSION \([0-9][0-9.]*\).*/\1/p')
zip=$root/dist/autopause-$version-win32.zip

scripts/release.sh || fail "release.sh failed"
cp "$zip" "$tmp/first.zip"
scripts/release.sh >/dev/null || fail "release.sh failed the second time"
cmp "$tmp/first.zip" "$zip" || fail "two releases of the same commit differ"
echo "check-release: the zip is reproducible"

names=$(unzip -Z1 "$zip" | LC_ALL=C sort | tr '\n' ' ')
[ "$names" = "README.txt SHA256SUMS autopause.exe " ] || fail "the zip holds: $names"
unzip -q "$zip" -d "$tmp/unzipped" || fail "unzip failed"
(cd "$tmp/unzipped" && sha256sum -c SHA256SUMS) || fail "SHA256SUMS does not verify"
grep -q ' autopause\.exe$' "$tmp/unzipped/SHA256SUMS" || fail "SHA256SUMS has no line for autopause.exe"
[ "$(head -c 3 "$tmp/unzipped/README.txt" | od -An -tx1 | tr -d ' ')" = efbbbf ] ||
  fail "README.txt does not start with a UTF-8 byte order mark"
iconv -f UTF-8 -t UTF-16 "$tmp/unzipped/README.txt" >/dev/null || fail "README.txt is not UTF-8"
i686-w64-mingw32-objdump -f "$tmp/unzipped/autopause.exe" | grep -q 'file format pei-i386' ||
  fail "the zip's autopause.exe is not a 32-bit x86 program"
echo "check-release: the zip holds $names; checksums verify"

# Starts <wine loader> <folder>/autopause.exe on the Wine bench's display,
# waits for the main window, presses Esc and expects exit code 0.
# (A Windows exit code of -1 shows here as 255.)
run_and_close_with_esc() {
  local wine=$1 dir=$2 title="Zorvath加速器自动暂停" pid wid="" rc deadline
  scripts/wine-bench.sh start || fail "the Wine bench did not start"
  source scripts/wine-env.sh
  (cd "$dir" && exec "$wine" ./autopause.exe </dev/null >"$tmp/wine.log" 2>&1) &
  pid=$!
  deadline=$((SECONDS + 60))
  while [ -z "$wid" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"; rc=$?
      cat "$tmp/wine.log"
      fail "autopause.exe ended (exit code $rc) before its window \"$title\" appeared"
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      kill "$pid"; wait "$pid"
      fail "no window \"$title\" within 60 s"
    fi
    wid=$(xdotool search --name "^$title\$" 2>/dev/null | head -n1)
    [ -n "$wid" ] || sleep 0.2
  done
  echo "check-release: window \"$title\" is open (X window $wid)"
  # Esc goes to the focused window; press it again if the first press was lost.
  deadline=$((SECONDS + 30))
  while kill -0 "$pid" 2>/dev/null; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      kill "$pid"; wait "$pid"
      fail "autopause.exe did not end within 30 s of Esc"
    fi
    timeout 5 xdotool windowfocus --sync "$wid" 2>/dev/null
    xdotool key --clearmodifiers Escape 2>/dev/null
    for _ in $(seq 20); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
  done
  wait "$pid"; rc=$?
  [ "$rc" -eq 0 ] || { cat "$tmp/wine.log"; fail "autopause.exe ended with exit code $rc after Esc"; }
  echo "check-release: Esc closed the window, exit code 0"
}

# The shipped program is 32-bit. Kernels without IA-32 emulation cannot run
# 32-bit Wine; then the same check runs on the x86_64 build of the same commit,
# put in place of the 32-bit exe in a copy of the unzipped folder.
if [ -x /usr/lib/wine/wine ] && /usr/lib/wine/wine --version >/dev/null 2>&1; then
  run_and_close_with_esc /usr/lib/wine/wine "$tmp/unzipped"
else
  echo "check-release: NOTE: 32-bit programs cannot run here (no IA-32 emulation); the zip's 32-bit"
  echo "check-release: NOTE: autopause.exe was NOT run. Running the x86_64 build of the same commit instead."
  mkdir "$tmp/src64"
  git archive --format=tar HEAD | tar -x -C "$tmp/src64"
  { cmake -S "$tmp/src64" -B "$tmp/build64" --toolchain "$tmp/src64/cmake/mingw-x86_64.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel &&
    cmake --build "$tmp/build64" --target autopause -j"$(nproc)"; } >"$tmp/build64.log" 2>&1 ||
    { cat "$tmp/build64.log"; fail "the x86_64 build failed"; }
  cp -r "$tmp/unzipped" "$tmp/unzipped64"
  cp "$tmp/build64/autopause.exe" "$tmp/unzipped64/autopause.exe"
  source scripts/wine-env.sh
  run_and_close_with_esc "$WINE" "$tmp/unzipped64"
fi
echo "check-release: PASS"
