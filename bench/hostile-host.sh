#!/usr/bin/env bash
# hostile-host.sh BUILD_DIR [options of hostile_host.py]: the threads and memory the messenger
# keeps after floods from one hostile host (chats from 5,000 addresses, 2,000 junk connections,
# 20,000 deep-group entries), each beside the figure after start, and an honest peer's 512 MiB
# download during the junk connections against the same download without them. Needs root
# (network namespaces), Xvfb and the test build (ZQ.exe, netdriver) in BUILD_DIR.
exec bash "$(dirname "$0")/run-bench.sh" hostile_host.py "$@"
