#!/usr/bin/env bash
# run-zq.sh PROGRAM: starts the messenger under Wine in code page 936, on the
# current display, or on a virtual one when there is none.
set -u
here=$(cd "$(dirname "$0")" && pwd)
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  echo "No display found: the messenger runs on a virtual display (Xvfb) until it ends."
  exec "$here/with-display" "$0" "$@"
fi
program=$(realpath "$1")
export WINEPREFIX=${ZQ_WINEPREFIX:-$here/../build/wineprefix-run}
export LC_ALL=zh_CN.UTF-8 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
"$here/make-prefix.sh" "$WINEPREFIX" --for-desktop || exit 1
echo "Starting $program on display $DISPLAY (prefix $WINEPREFIX)"
echo "A look at the screen: DISPLAY=$DISPLAY import -window root shot.png"
exec wine "$program" >"$WINEPREFIX/../zq-run.log" 2>&1 </dev/null
