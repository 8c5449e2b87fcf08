#!/usr/bin/env bash
# Installs what building and testing need, once; quick when everything is there.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei
          locales iproute2 python3 googletest
          g++    # the native sanitizer build of tests/fuzz/run-fuzz.sh
          python3-gi gir1.2-gtk-3.0)   # the X drag source of the drag-and-drop tests

SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"

missing=()
for p in "${packages[@]}"; do
  # A package that was removed but not purged is still known to dpkg: ask for "installed".
  [ "$(dpkg-query -W -f='${db:Status-Status}' "$p" 2>/dev/null)" = installed ] || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  # A new machine may still be busy with its own first updates: wait for dpkg's lock.
  apt_options=(-q -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3)
  $SUDO apt-get "${apt_options[@]}" update
  $SUDO env DEBIAN_FRONTEND=noninteractive \
    apt-get "${apt_options[@]}" install -y --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
