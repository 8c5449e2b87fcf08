#!/usr/bin/env bash
# hostile-host.sh BUILD_DIR [options of hostile_host.py]: the threads and memory the messenger
# keeps after floods from one hostile host (chats from 5,000 addresses, 2,000 junk connections,
# 20,000 deep-group entries), each beside the figure after start, and an honest peer's 512 MiB
# download during the junk connections against the same download without them. Needs root
# (network namespaces), Xvfb and the test build (ZQ.exe, netdriver) in BUILD_DIR.
set -euo pipefail
build=${1:?usage: hostile-host.sh BUILD_DIR [options]}
shift
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
driver="$build/tests/net/netdriver.exe"
for needed in "$driver" "$build/ZQ.exe"; do
  if [ ! -f "$needed" ]; then
    echo "hostile-host: $needed is missing; build the test build first (make build-test)" >&2
    exit 1
  fi
done
if [ "$(id -u)" != 0 ]; then
  echo "hostile-host: needs root for the network namespaces" >&2
  exit 1
fi
template=${ZQ_WINEPREFIX:-$repo/build/wineprefix}
bash "$repo/scripts/make-prefix.sh" "$template"
exec python3 "$here/hostile_host.py" --driver "$driver" --template "$template" "$@"
