#!/usr/bin/env bash
# Builds the release package dist/autopause-<version>-win32.zip from the current
# commit: a clean export of HEAD (git archive) built in a fresh build tree.
# Uncommitted changes are not released. The zip is reproducible: its entries
# carry the commit's time, fixed modes, no extra attributes, in sorted order.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)

if [ -n "$(git status --porcelain --untracked-files=no)" ]; then
  echo "release: uncommitted changes are left out; building $(git rev-parse --short HEAD)" >&2
fi

tmp=$(mktemp -d /tmp/autopause-release.XXXXXX)
trap 'rm -rf "$tmp"' EXIT
mkdir "$tmp/src" "$tmp/stage"
git archive --format=tar HEAD | tar -x -C "$tmp/src"

# The one place the version is written: the project() line.
version=$(sed -n 's/^project(autopause VERSION \([0-9][0-9.]*\).*/\1/p' "$tmp/src/CMakeLists.txt")
[ -n "$version" ] || { echo "release: no version in the project() line of CMakeLists.txt" >&2; exit 1; }

SOURCE_DATE_EPOCH=$(git log -1 --format=%ct HEAD)
export SOURCE_DATE_EPOCH

build=$tmp/build
{
  cmake -S "$tmp/src" -B "$build" --toolchain "$tmp/src/cmake/mingw-i686.cmake" -DCMAKE_BUILD_TYPE=MinSizeRel &&
    cmake --build "$build" --target autopause -j"$(nproc)" &&
    # Size, imports and resources of the executable.
    ctest --test-dir "$build" -R '^autopause_exe_' --output-on-failure
} >"$tmp/build.log" 2>&1 || { cat "$tmp/build.log"; echo "release: the build failed" >&2; exit 1; }

stage=$tmp/stage
cp "$build/autopause.exe" "$stage/autopause.exe"
# README.txt is UTF-8 with a byte order mark and CRLF line ends: Notepad shows it
# right on any Windows, whatever the system's code page (GBK would only show on
# Chinese systems).
{ printf '\xef\xbb\xbf'; sed "s/@VERSION@/$version/g; s/\$/\r/" "$tmp/src/scripts/release-readme.txt"; } >"$stage/README.txt"
(cd "$stage" && sha256sum autopause.exe README.txt >SHA256SUMS)

chmod 0644 "$stage"/*
touch -d "@$SOURCE_DATE_EPOCH" "$stage"/*
zip=$root/dist/autopause-$version-win32.zip
mkdir -p "$root/dist"
rm -f "$zip"
# -X: no extra fields (owner, access times); TZ=UTC: zip stores local times;
# names in byte order (LC_ALL=C sort).
(cd "$stage" && LC_ALL=C ls | TZ=UTC zip -X -D -q "$zip" -@)

echo "release: $zip"
echo "release: built from commit $(git rev-parse HEAD)"
echo "release: autopause.exe sha256 $(cut -d' ' -f1 <"$stage/SHA256SUMS" | head -n1)"
