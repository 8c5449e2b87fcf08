#!/usr/bin/env bash
# serve-throughput.sh BUILD_DIR [--rounds N]: how fast the messenger serves a 512 MiB file over
# TCP compared with a plain TCP sender on the same link. Needs root (network namespaces) and the
# test build (its netdriver) in BUILD_DIR.
exec bash "$(dirname "$0")/run-bench.sh" serve_throughput.py "$@"
