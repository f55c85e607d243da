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
  deadline=$((SECONDS + 300))
  while [ -z "$wid" ]; do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"; rc=$?
      cat "$tmp/wine.log"
      fail "autopause.exe ended (exit code $rc) before its window \"$title\" appeared"
    fi
    if [ "$SECONDS" -ge "$deadline" ]; then
      kill "$pid"; wait "$pid"
      fail "no window \"$title\" within 300 s"
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
# 32-bit Wine natively; then it runs under qemu's user-mode emulation of i386,
# registered with binfmt_misc for this check only, in a prefix of its own
# (slow: about a minute until the window shows).
qemu_entry=/proc/sys/fs/binfmt_misc/qemu-i386
enable_qemu_i386() {
  [ -d /proc/sys/fs/binfmt_misc ] || return 1
  [ -f /proc/sys/fs/binfmt_misc/register ] ||
    mount -t binfmt_misc binfmt_misc /proc/sys/fs/binfmt_misc 2>/dev/null || return 1
  if [ ! -f "$qemu_entry" ]; then
    printf '%s' ':qemu-i386:M::\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00:\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff:/usr/bin/qemu-i386-static:F' \
      >/proc/sys/fs/binfmt_misc/register 2>/dev/null || return 1
  fi
  echo 1 >"$qemu_entry"
}
if /usr/lib/wine/wine --version >/dev/null 2>&1; then
  run_and_close_with_esc /usr/lib/wine/wine "$tmp/unzipped"
elif enable_qemu_i386; then
  echo "check-release: NOTE: no IA-32 emulation in this kernel; running the 32-bit exe under qemu-i386"
  trap 'echo 0 >"$qemu_entry"; AUTOPAUSE_WINE_DIR=$root/build/wine32 scripts/wine-bench.sh stop; rm -rf "$tmp"' EXIT
  export AUTOPAUSE_WINE_DIR=$root/build/wine32
  run_and_close_with_esc /usr/lib/wine/wine "$tmp/unzipped"
else
  fail "32-bit programs cannot run here, natively or under qemu-i386"
fi
echo "check-release: PASS"
