#!/usr/bin/env bash
# make-prefix.sh DIR: a private Wine prefix for the messenger, made once.
# Code page 936, no crash dialog, and the user folders as real folders
# inside the prefix rather than links into $HOME.
set -euo pipefail
prefix=$(realpath -m "$1")
[ -f "$prefix/.zq-ready" ] && exit 0
mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
log="$prefix/../$(basename "$prefix").log"
# Wine's helper processes inherit stdout: never let them hold a pipe.
wineboot -i >"$log" 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$log" 2>&1 </dev/null
wineserver -w
userdir="$prefix/drive_c/users/$(id -un)"
for d in Desktop Documents Downloads Music Pictures Videos Templates; do
  if [ -L "$userdir/$d" ]; then rm -f "$userdir/$d"; mkdir -p "$userdir/$d"; fi
done
touch "$prefix/.zq-ready"
