#!/usr/bin/env bash
# Installs what building and testing need, once; quick when everything is there.
set -euo pipefail

packages=(cmake make g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix
          wine wine64 xvfb xauth xdotool imagemagick fonts-wqy-microhei
          locales iproute2 python3 googletest
          clang-format   # tests/check_format.sh
          g++    # the native sanitizer build of tests/fuzz/run-fuzz.sh
          python3-gi gir1.2-gtk-3.0   # the X drag source of the drag-and-drop tests
          x11-utils)   # xprop: the icons a window offers the desktop

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

# 32-bit Wine runs the release program (build/i686/ZQ.exe) in the tests, as a 32-bit program on
# 64-bit Windows. A machine that cannot have it still builds and tests: the tests of the release
# program then report themselves skipped (failed under CI).
# A kernel without IA-32 emulation runs no 32-bit program at all. There 32-bit Wine must not be
# installed: Debian's wine command starts its 32-bit loader first whenever it is there, so every
# Wine program, 64-bit ones too, would fail with "Exec format error".
here=$(dirname "$0")
if ! bash "$here/runs-32-bit-programs"; then
  echo "setup: this kernel cannot run 32-bit programs; the release program's tests will be skipped"
  if [ "$(dpkg-query -W -f='${db:Status-Status}' wine32:i386 2>/dev/null)" = installed ]; then
    echo "setup: removing 32-bit Wine (wine32:i386), which stops every Wine program on this kernel"
    $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600 remove -y wine32:i386
  fi
elif [ "$(dpkg-query -W -f='${db:Status-Status}' wine32:i386 2>/dev/null)" != installed ]; then
  echo "setup: installing 32-bit Wine (wine32:i386)"
  if ! { $SUDO dpkg --add-architecture i386 &&
         $SUDO apt-get -q -o DPkg::Lock::Timeout=600 -o Acquire::Retries=3 update &&
         $SUDO env DEBIAN_FRONTEND=noninteractive apt-get -q -o DPkg::Lock::Timeout=600 \
           -o Acquire::Retries=3 install -y --no-install-recommends wine32:i386; }; then
    echo "setup: 32-bit Wine could not be installed; the release program's tests will not run" >&2
    # An i386 index that cannot be fetched would fail every later apt-get update.
    dpkg-query -W 'wine32:i386' >/dev/null 2>&1 || $SUDO dpkg --remove-architecture i386 2>/dev/null || true
  fi
fi

# Wine takes its ANSI code page from the locale: zh_CN.UTF-8 gives 936.
if ! locale -a 2>/dev/null | grep -qi '^zh_CN\.utf-\?8$'; then
  echo "setup: generating the zh_CN.UTF-8 locale"
  grep -q '^zh_CN.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'zh_CN.UTF-8 UTF-8' | $SUDO tee -a /etc/locale.gen >/dev/null
  $SUDO locale-gen >/dev/null
fi
