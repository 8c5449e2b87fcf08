#!/usr/bin/env bash
# Test programs that start at once on a Wine prefix that is not made yet (ctest -j on a
# fresh build): one of them makes the prefix while the others wait, and every one of
# them runs in the finished prefix.
#   prefix_first_use.sh SCRATCH_DIR
set -u
repo=$(cd "$(dirname "$0")/.." && pwd)
scratch=${1:?usage: prefix_first_use.sh SCRATCH_DIR}
rm -rf "$scratch"
mkdir -p "$scratch"
export ZQ_WINEPREFIX="$scratch/prefix"

programs=6
pids=()
for i in $(seq $programs); do
  "$repo/scripts/wine-run" cmd /c exit 7 >"$scratch/program-$i.txt" 2>&1 &
  pids+=($!)
done
failures=0
for i in $(seq $programs); do
  wait "${pids[i - 1]}"
  code=$?
  if [ "$code" -ne 7 ]; then
    echo "program $i ended with $code instead of 7:"
    cat "$scratch/program-$i.txt"
    failures=$((failures + 1))
  fi
done
userdir="$ZQ_WINEPREFIX/drive_c/users/$(id -un)"
if [ ! -d "$userdir/Desktop" ] || [ -n "$(find "$userdir" -type l)" ]; then
  echo "the user's folders are not all folders of the prefix:"
  find "$userdir" -type l -exec ls -ld {} +
  failures=$((failures + 1))
fi
WINEPREFIX="$ZQ_WINEPREFIX" wineserver -k 2>/dev/null
if [ "$failures" -eq 0 ]; then
  echo "$programs programs ran in one new prefix"
  rm -rf "$scratch"
fi
[ "$failures" -eq 0 ]
