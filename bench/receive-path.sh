#!/usr/bin/env bash
# receive-path.sh BUILD_DIR [options of receive_path.py]: how the messenger's receive thread keeps
# up: the chat round trip at growing histories, entries taken in per second from known and new
# peers, and the start-up to the entry broadcast beside an empty Win32 program and one that loads
# what the messenger loads. Needs root (network namespaces), Xvfb and the test build (ZQ.exe,
# netdriver, wininspect and the yardsticks in bench/) in BUILD_DIR.
set -euo pipefail
build=${1:?usage: receive-path.sh BUILD_DIR [options]}
shift
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
driver="$build/tests/net/netdriver.exe"
empty="$build/bench/empty_start.exe"
loaded="$build/bench/loaded_start.exe"
for needed in "$driver" "$build/tests/net/wininspect.exe" "$build/ZQ.exe" "$empty" "$loaded"; do
  if [ ! -f "$needed" ]; then
    echo "receive-path: $needed is missing; build the test build first (make build-test)" >&2
    exit 1
  fi
done
if [ "$(id -u)" != 0 ]; then
  echo "receive-path: needs root for the network namespaces" >&2
  exit 1
fi
template=${ZQ_WINEPREFIX:-$repo/build/wineprefix}
bash "$repo/scripts/make-prefix.sh" "$template"
exec python3 "$here/receive_path.py" --driver "$driver" \
  --template "$template" --empty "$empty" --loaded "$loaded" "$@"
