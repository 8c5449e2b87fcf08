#!/usr/bin/env bash
# A prefix checked for another Wine than the one installed now (as when 32-bit Wine came after
# the prefix) is checked again on its next use: one that starts no program any longer is made
# again, one that still starts programs is kept. A ready prefix starts a 64-bit program and,
# where 32-bit Wine is installed, a 32-bit one.
#   prefix_made_again.sh SCRATCH_DIR
set -u
repo=$(cd "$(dirname "$0")/.." && pwd)
scratch=${1:?usage: prefix_made_again.sh SCRATCH_DIR}
rm -rf "$scratch"
mkdir -p "$scratch"
export ZQ_WINEPREFIX="$scratch/prefix"
export WINEPREFIX="$ZQ_WINEPREFIX" WINEDEBUG=-all LC_ALL=zh_CN.UTF-8 WINEDLLOVERRIDES="mscoree,mshtml="
stamp="$ZQ_WINEPREFIX/.zq-ready"
marker="$ZQ_WINEPREFIX/drive_c/kept.txt"
failures=0

fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

# expect_exit CODE PROGRAM: the program (a cmd.exe of the prefix) run through wine-run ends with CODE.
expect_exit() {
  local out="$scratch/run.txt" code
  "$repo/scripts/wine-run" "$2" /c exit 7 >"$out" 2>&1
  code=$?
  [ "$code" -eq "$1" ] || { fail "$2 ended with $code instead of $1:"; cat "$out"; }
}

# A ready prefix: 64-bit and, with 32-bit Wine, 32-bit programs start (the syswow64 cmd is 32-bit).
expect_exit 7 'C:\windows\system32\cmd.exe'
thirty_two=no
grep -q '^32-bit Wine: none$' "$stamp" || thirty_two=yes
if [ $thirty_two = yes ]; then
  expect_exit 7 'C:\windows\syswow64\cmd.exe'
  grep -qx 'starts: 64-bit 32-bit' "$stamp" || fail "the stamp does not say that 32-bit programs start: $(cat "$stamp")"
fi
wineserver -k 2>/dev/null

# Checked for an older Wine but still fine: kept as it is, and the stamp names this Wine.
echo kept >"$marker"
printf 'wine-0.0\n32-bit Wine: none\nstarts: 64-bit\n' >"$stamp"
expect_exit 7 'C:\windows\system32\cmd.exe'
[ -f "$marker" ] || fail "a prefix that still starts programs was made again"
grep -qx 'wine-0.0' "$stamp" && fail "the stamp still names the older Wine"
wineserver -k 2>/dev/null

# Checked for an older Wine and starting nothing now. Without the 32-bit system DLLs every
# program fails as in a prefix made before 32-bit Wine was installed ("could not load
# kernel32.dll, status c0000135"; Debian's wine starts the 32-bit loader first when it has one).
if [ $thirty_two = yes ]; then
  find "$ZQ_WINEPREFIX/drive_c/windows/syswow64" -mindepth 1 -delete
  WINEDEBUG= wine cmd /c exit 7 >"$scratch/broken.txt" 2>&1 </dev/null
  code=$?
  wineserver -k 2>/dev/null
  if [ "$code" -eq 7 ] || ! grep -q 'c0000135' "$scratch/broken.txt"; then
    fail "the broken prefix still starts programs (exit $code); the case proves nothing:"
    cat "$scratch/broken.txt"
  fi
  printf 'wine-0.0\n32-bit Wine: none\nstarts: 64-bit\n' >"$stamp"
  expect_exit 7 'C:\windows\system32\cmd.exe'
  expect_exit 7 'C:\windows\syswow64\cmd.exe'
  [ -f "$marker" ] && fail "the prefix that started nothing was not made again"
  grep -qx 'starts: 64-bit 32-bit' "$stamp" || fail "the new prefix's stamp: $(cat "$stamp")"
  userdir="$ZQ_WINEPREFIX/drive_c/users/$(id -un)"
  [ -d "$userdir/Desktop" ] && [ -z "$(find "$userdir" -type l)" ] ||
    fail "the prefix made again has links for the user's folders"
else
  echo "no 32-bit Wine here: the prefix that starts nothing is not tried"
fi

wineserver -k 2>/dev/null
if [ "$failures" -eq 0 ]; then
  echo "prefixes checked again as Wine changed"
  rm -rf "$scratch"
fi
[ "$failures" -eq 0 ]
