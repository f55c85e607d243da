#!/usr/bin/env bash
# Installs what building, running and testing autopause need on Debian 12.
# Idempotent and quiet: does nothing when everything is already there.
set -euo pipefail

need_apt=()
have() { dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q 'install ok installed'; }

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

if ! dpkg --print-foreign-architectures | grep -qx i386; then
  "${sudo_cmd[@]}" dpkg --add-architecture i386
  rm -f /tmp/.autopause-apt-updated
fi

for pkg in cmake g++ make googletest libgtest-dev g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 \
           g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 \
           wine wine64 wine32:i386 xvfb xauth x11-apps imagemagick locales fonts-wqy-microhei fonts-wine xdotool qemu-user-static zip unzip; do
  have "$pkg" || need_apt+=("$pkg")
done

if [ ${#need_apt[@]} -gt 0 ]; then
  echo "setup: installing ${need_apt[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq >/dev/null
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${need_apt[@]}" >/dev/null
fi

if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  "${sudo_cmd[@]}" localedef -i zh_CN -f UTF-8 zh_CN.UTF-8
fi
