#!/usr/bin/env bash
# serve-throughput.sh BUILD_DIR [--rounds N]: how fast the messenger serves a 512 MiB file over
# TCP compared with a plain TCP sender on the same link. Needs root (network namespaces) and the
# test build (its netdriver) in BUILD_DIR.
set -euo pipefail
build=${1:?usage: serve-throughput.sh BUILD_DIR [--rounds N]}
shift
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
driver="$build/tests/net/netdriver.exe"
if [ ! -f "$driver" ]; then
  echo "serve-throughput: $driver is missing; build the test build first (make build-test)" >&2
  exit 1
fi
if [ "$(id -u)" != 0 ]; then
  echo "serve-throughput: needs root for the network namespaces" >&2
  exit 1
fi
template=${ZQ_WINEPREFIX:-$repo/build/wineprefix}
bash "$repo/scripts/make-prefix.sh" "$template"
exec python3 "$here/serve_throughput.py" --driver "$driver" --template "$template" "$@"
