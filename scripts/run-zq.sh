#!/usr/bin/env bash
# run-zq.sh PROGRAM: starts the messenger under Wine in code page 936, on the
# current display, or on a virtual one when there is none.
set -u
here=$(cd "$(dirname "$0")" && pwd)
if ! xdotool getdisplaygeometry >/dev/null 2>&1; then
  echo "No display found: the messenger runs on a virtual display (Xvfb) until it ends."
  ZQ_VIRTUAL_DISPLAY=1 exec "$here/with-display" "$0" "$@"
fi
program=$(realpath "$1")
export WINEPREFIX=${ZQ_WINEPREFIX:-$here/../build/wineprefix-run}
export LC_ALL=zh_CN.UTF-8 WINEDEBUG=${WINEDEBUG:--all} WINEDLLOVERRIDES="mscoree,mshtml="
"$here/make-prefix.sh" "$WINEPREFIX" --for-desktop || exit 1
echo "Starting $program on display $DISPLAY (prefix $WINEPREFIX)"
echo "A look at the screen: DISPLAY=$DISPLAY import -window root shot.png"

if [ -n "${ZQ_VIRTUAL_DISPLAY:-}" ]; then
  # Nobody sees this screen: say what waits on it and how to reach it.
  if [ ! -f "$WINEPREFIX/drive_c/windows/system32/ZQ.ini" ]; then
    echo "First run: the messenger waits on its question \"ZQ 开机启动设置\" (start with Windows?)."
    echo "  Answer no:  DISPLAY=$DISPLAY xdotool search --name 'ZQ 开机启动设置' windowfocus --sync key n"
    echo "  Answer yes: the same with 'key Return'"
  fi
  if command -v x11vnc >/dev/null 2>&1; then
    x11vnc -display "$DISPLAY" -localhost -forever -shared -nopw -quiet -rfbport 5900 \
      >"$WINEPREFIX/../zq-vnc.log" 2>&1 </dev/null &
    vnc=$!
    trap 'kill $vnc 2>/dev/null' EXIT
    echo "To see and use it: a VNC viewer on localhost:5900 (e.g. ssh -L 5900:localhost:5900 this machine)"
  else
    echo "To see and use it: install a VNC server (apt-get install x11vnc) and start make run again;"
    echo "  it then serves this display on localhost:5900."
  fi
  wine "$program" >"$WINEPREFIX/../zq-run.log" 2>&1 </dev/null
  exit $?
fi
exec wine "$program" >"$WINEPREFIX/../zq-run.log" 2>&1 </dev/null
