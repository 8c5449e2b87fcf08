#!/usr/bin/env bash
# run-zq.sh PROGRAM: starts the messenger under Wine in code page 936, on the
# current display, or on a virtual one when there is none.
set -u
here=$(cd "$(dirname "$0")" && pwd)
program=$(realpath "$1")
export WINEPREFIX=${ZQ_WINEPREFIX:-$here/../build/wineprefix-run}
export LC_ALL=zh_CN.UTF-8 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
"$here/make-prefix.sh" "$WINEPREFIX" || exit 1
if [ -z "${DISPLAY:-}" ] || ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  n=$((100 + RANDOM % 400))
  while [ -e "/tmp/.X$n-lock" ]; do n=$((n + 1)); done
  Xvfb ":$n" -screen 0 1280x800x24 -nolisten tcp >/dev/null 2>&1 &
  export DISPLAY=":$n"
  sleep 1
  echo "No display found: the messenger runs on the virtual display $DISPLAY (Xvfb)."
  echo "Take a look with: DISPLAY=$DISPLAY import -window root shot.png"
fi
echo "Starting $program (prefix $WINEPREFIX)"
exec wine "$program" >"$WINEPREFIX/../zq-run.log" 2>&1 </dev/null
