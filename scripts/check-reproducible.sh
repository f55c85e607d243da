#!/usr/bin/env bash
# Builds the shipped program (the win32 preset's settings) twice, from two
# copies of the source tree under different paths and at different times, and
# checks that both autopause.exe files are byte for byte the same. On a
# difference it prints the first differing bytes and the PE sections they fall in.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

tmp=$(mktemp -d /tmp/autopause-repro.XXXXXX)
trap 'rm -rf "$tmp"' EXIT

# Nothing in the program needs a date, so build without SOURCE_DATE_EPOCH
# (which the linker would take as the PE time stamp): any time stamp shows.
unset SOURCE_DATE_EPOCH

# The work tree as it is: tracked files and new files not ignored.
copy_source() {
  mkdir -p "$1"
  git ls-files -z --cached --others --exclude-standard |
    xargs -0 sh -c 'for f; do [ -e "$f" ] && printf "%s\0" "$f"; done' sh |
    tar -c --null -T - | tar -x -C "$1"
}

build() {
  local src=$1 bin=$2
  cmake -S "$src" -B "$bin" --toolchain "$src/cmake/mingw-i686.cmake" \
    -DCMAKE_BUILD_TYPE=MinSizeRel >"$bin.log" 2>&1 &&
    cmake --build "$bin" --target autopause -j"$(nproc)" >>"$bin.log" 2>&1 ||
    { cat "$bin.log"; echo "check-reproducible: the build in $bin failed"; exit 1; }
}

first_src=$tmp/one/src second_src=$tmp/second-copy/autopause-source
copy_source "$first_src"
copy_source "$second_src"

build "$first_src" "$tmp/one/build"
started=$(date +%s)
# The second build starts in a later second, so a time stamp would show.
while [ "$(date +%s)" = "$started" ]; do sleep 0.1; done
build "$second_src" "$tmp/second-copy/b"

a=$tmp/one/build/autopause.exe b=$tmp/second-copy/b/autopause.exe
if cmp -s "$a" "$b"; then
  echo "check-reproducible: identical, sha256 $(sha256sum "$a" | cut -d' ' -f1)"
  exit 0
fi

echo "check-reproducible: the two builds differ ($(stat -c %s "$a") and $(stat -c %s "$b") bytes)"
echo "first differing bytes (offset from 1, octal values):"
cmp -l "$a" "$b" | head -n 20 || true
# Which section holds each differing byte: file offset ranges from objdump -h.
echo "sections with differences:"
mapfile -t sections < <(i686-w64-mingw32-objdump -h "$a" | awk '$1 ~ /^[0-9]+$/ && $6 !~ /^0+$/ { print $2, $3, $6 }')
declare -A count=()
while read -r offset _; do
  offset=$((offset - 1)) where="PE headers or padding"
  for s in "${sections[@]}"; do
    read -r name size start <<<"$s"
    if [ "$offset" -ge $((16#$start)) ] && [ "$offset" -lt $((16#$start + 16#$size)) ]; then where=$name; fi
  done
  count[$where]=$(( ${count[$where]:-0} + 1 ))
done < <(cmp -l "$a" "$b" 2>/dev/null | head -n 2000)
for where in "${!count[@]}"; do echo "  $where: ${count[$where]} bytes"; done
exit 1
