#!/usr/bin/env bash
# Installs what building and testing need, once; quick when everything is there.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei
          locales iproute2 python3 googletest file
          g++)   # the native sanitizer build of tests/fuzz/run-fuzz.sh

missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "setup: installing ${missing[*]}"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  $SUDO apt-get update -q
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
