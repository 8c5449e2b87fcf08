#!/usr/bin/env bash
# download-throughput.sh BUILD_DIR [--rounds N]: how fast the messenger downloads a 512 MiB file
# and a folder of 2,000 small files from a scripted peer, compared with a plain TCP copy of the
# same bytes over the same link. Needs root (network namespaces) and the test build (its
# netdriver) in BUILD_DIR.
set -euo pipefail
build=${1:?usage: download-throughput.sh BUILD_DIR [--rounds N]}
shift
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
driver="$build/tests/net/netdriver.exe"
if [ ! -f "$driver" ]; then
  echo "download-throughput: $driver is missing; build the test build first (make build-test)" >&2
  exit 1
fi
if [ "$(id -u)" != 0 ]; then
  echo "download-throughput: needs root for the network namespaces" >&2
  exit 1
fi
template=${ZQ_WINEPREFIX:-$repo/build/wineprefix}
bash "$repo/scripts/make-prefix.sh" "$template"
exec python3 "$here/download_throughput.py" --driver "$driver" --template "$template" "$@"
