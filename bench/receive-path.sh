#!/usr/bin/env bash
# receive-path.sh BUILD_DIR [options of receive_path.py]: how the messenger's receive thread keeps
# up: the chat round trip at growing histories, entries taken in per second from known and new
# peers, and the start-up to the entry broadcast beside an empty Win32 program. Needs root
# (network namespaces), Xvfb and the test build (ZQ.exe, netdriver, wininspect) in BUILD_DIR.
set -euo pipefail
build=${1:?usage: receive-path.sh BUILD_DIR [options]}
shift
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
driver="$build/tests/net/netdriver.exe"
for needed in "$driver" "$build/tests/net/wininspect.exe" "$build/ZQ.exe"; do
  if [ ! -f "$needed" ]; then
    echo "receive-path: $needed is missing; build the test build first (make build-test)" >&2
    exit 1
  fi
done
if [ "$(id -u)" != 0 ]; then
  echo "receive-path: needs root for the network namespaces" >&2
  exit 1
fi
empty="$build/bench/empty_start.exe"
mkdir -p "$(dirname "$empty")"
if [ ! -f "$empty" ] || [ "$here/empty_start.c" -nt "$empty" ]; then
  x86_64-w64-mingw32-gcc -O2 -mwindows -o "$empty" "$here/empty_start.c" -lws2_32
fi
template=${ZQ_WINEPREFIX:-$repo/build/wineprefix}
bash "$repo/scripts/make-prefix.sh" "$template"
exec python3 "$here/receive_path.py" --driver "$driver" \
  --template "$template" --empty "$empty" "$@"
