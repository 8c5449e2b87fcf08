#!/usr/bin/env bash
# download-throughput.sh BUILD_DIR [--rounds N]: how fast the messenger downloads a 512 MiB file
# and a folder of 2,000 small files from a scripted peer, compared with a plain TCP copy of the
# same bytes over the same link. Needs root (network namespaces) and the test build (its
# netdriver) in BUILD_DIR.
exec bash "$(dirname "$0")/run-bench.sh" download_throughput.py "$@"
