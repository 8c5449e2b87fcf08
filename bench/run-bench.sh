#!/usr/bin/env bash
# run-bench.sh SCRIPT BUILD_DIR [--rounds N]: runs one benchmark of this folder (a Python script)
# with the test build's netdriver from BUILD_DIR and the Wine prefix. Needs root (network
# namespaces).
set -euo pipefail
script=${1:?usage: run-bench.sh SCRIPT BUILD_DIR [--rounds N]}
build=${2:?usage: run-bench.sh SCRIPT BUILD_DIR [--rounds N]}
shift 2
here=$(cd "$(dirname "$0")" && pwd)
repo=$(cd "$here/.." && pwd)
driver="$build/tests/net/netdriver.exe"
for needed in "$driver" "$build/ZQ.exe"; do
  if [ ! -f "$needed" ]; then
    echo "$script: $needed is missing; build the test build first (make build-test)" >&2
    exit 1
  fi
done
if [ "$(id -u)" != 0 ]; then
  echo "$script: needs root for the network namespaces" >&2
  exit 1
fi
template=${ZQ_WINEPREFIX:-$repo/build/wineprefix}
bash "$repo/scripts/make-prefix.sh" "$template"
exec python3 "$here/$script" --driver "$driver" --template "$template" "$@"
