#!/usr/bin/env bash
# make-prefix.sh DIR [--for-desktop]: a private Wine prefix for the messenger, made once, also
# when several programs ask for it at the same time (one makes it, the others wait).
# Code page 936, no crash dialog, and the user folders as real folders
# inside the prefix rather than links into $HOME.
#
# The prefix is for the tests, whose virtual displays have no window manager: Wine draws
# the windows itself instead of waiting for a window manager (2 s) whenever a window hides.
# --for-desktop keeps Wine's way for a desktop whose window manager places the windows.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: make-prefix.sh DIR [--for-desktop]}")
desktop=${2:-}
case "$desktop" in ""|--for-desktop) ;; *) echo "make-prefix.sh: unknown option $desktop" >&2; exit 2 ;; esac
[ -f "$prefix/.zq-ready" ] && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
[ -f "$prefix/.zq-ready" ] && exit 0

mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
log="$prefix.log"
trap 'echo "make-prefix.sh: making $prefix failed; the end of $log:" >&2; tail -n 20 "$log" >&2' ERR
# Wine's helper processes inherit stdout: never let them hold a pipe.
wineboot -i >"$log" 2>&1 </dev/null
wine reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >>"$log" 2>&1 </dev/null
if [ "$desktop" != --for-desktop ]; then
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >>"$log" 2>&1 </dev/null
fi
wineserver -w
# Wine links the user's folders (Desktop, Documents, Templates...) into $HOME.
find "$prefix/drive_c/users/$(id -un)" -type l | while read -r link; do
  rm -f "$link"
  mkdir -p "$link"
done
touch "$prefix/.zq-ready"
