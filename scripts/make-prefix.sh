#!/usr/bin/env bash
# make-prefix.sh DIR [--for-desktop]: a private Wine prefix for the messenger, made once, also
# when several programs ask for it at the same time (one makes it, the others wait).
# Code page 936, no crash dialog, and the user folders as real folders
# inside the prefix rather than links into $HOME.
#
# The prefix is for the tests, whose virtual displays have no window manager: Wine draws
# the windows itself instead of waiting for a window manager (2 s) whenever a window hides.
# --for-desktop keeps Wine's way for a desktop whose window manager places the windows.
#
# The file .zq-ready in the prefix says for which Wine the prefix was made or last checked, and
# which programs were seen to start in it ("starts: 64-bit 32-bit"; the network tests read it).
# When Wine changes, above all when 32-bit Wine is installed later, the prefix is checked once
# more: one that cannot start a program any longer (`could not load kernel32.dll, status
# c0000135`) is made again.
set -euo pipefail
prefix=$(realpath -m "${1:?usage: make-prefix.sh DIR [--for-desktop]}")
desktop=${2:-}
case "$desktop" in ""|--for-desktop) ;; *) echo "make-prefix.sh: unknown option $desktop" >&2; exit 2 ;; esac
stamp="$prefix/.zq-ready"
export WINEPREFIX="$prefix" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="

# The Wine that runs the prefix: its version and where its 32-bit half lives, if it has one
# (Debian's multiarch folder, then the folders of Wine's own builds). On a kernel that runs no
# 32-bit program there is none to use, whatever files are left.
wine_install() {
  wine --version 2>/dev/null </dev/null || echo "no wine"
  local folder
  if ! bash "$(dirname "$0")/runs-32-bit-programs"; then
    echo "32-bit Wine: none"
    return
  fi
  for folder in /usr/lib/i386-linux-gnu/wine/i386-windows /usr/lib/wine/i386-windows \
                /usr/lib32/wine/i386-windows /opt/wine*/lib/wine/i386-windows; do
    if [ -f "$folder/kernel32.dll" ]; then
      echo "32-bit Wine: $folder"
      return
    fi
  done
  echo "32-bit Wine: none"
}
install=$(wine_install)
checked_for() {   # true when the prefix is ready and was checked for this Wine
  [ -f "$stamp" ] && [ "$(head -n 2 "$stamp")" = "$install" ]
}
checked_for && exit 0
mkdir -p "$(dirname "$prefix")"
exec 9>"$prefix.lock"
flock 9
checked_for && exit 0

log="$prefix.log"
trap 'echo "make-prefix.sh: making $prefix failed; the end of $log:" >&2; tail -n 20 "$log" >&2' ERR

# starts PROGRAM: the program (a cmd.exe) starts in the prefix and ends as it was told.
starts() {
  local code=0
  wine "$1" /c exit 7 >>"$log" 2>&1 </dev/null || code=$?
  [ "$code" -eq 7 ]
}

# The programs that start: a 64-bit one always, a 32-bit one (through the system folder of
# 32-bit programs) where 32-bit Wine is installed. The prefix's server ends before this script
# does: one left running would make the sockets of the next programs in the caller's network.
programs_that_start() {
  local started=""
  starts 'C:\windows\system32\cmd.exe' && started="64-bit"
  if [ "${install##*32-bit Wine: }" != none ] && starts 'C:\windows\syswow64\cmd.exe'; then
    started="$started 32-bit"
  fi
  wineserver -w >>"$log" 2>&1
  echo "$started"
}

if [ -f "$stamp" ]; then
  : >"$log"
  started=$(programs_that_start)
  if [ "${started%% *}" = 64-bit ]; then
    printf '%s\nstarts: %s\n' "$install" "$started" >"$stamp"
    exit 0
  fi
  echo "make-prefix.sh: $prefix starts no program with this Wine; making it again (see $log)" >&2
  wineserver -k 2>/dev/null || true
  rm -rf "$prefix"
fi

mkdir -p "$prefix"
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
started=$(programs_that_start)
if [ "${started%% *}" != 64-bit ]; then
  echo "make-prefix.sh: a program does not start in the new prefix $prefix" >&2
  false
fi
printf '%s\nstarts: %s\n' "$install" "$started" >"$stamp"
