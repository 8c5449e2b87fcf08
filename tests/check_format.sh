#!/usr/bin/env bash
# Fails on any C or C++ file of the tree that .clang-format would change, and names each place.
# The formatter is the one scripts/setup.sh installs (Debian's clang-format); another major
# version formats some constructs differently, so the version is checked too.
set -euo pipefail
cd "$(dirname "$0")/.."
version=$(clang-format --version | sed -n 's/.*version \([0-9]*\)\..*/\1/p')
if [ "$version" != 14 ]; then
  echo "check_format: clang-format 14 is needed, found: $(clang-format --version)" >&2
  exit 1
fi
# The resource header is written by the resource tools' conventions, not ours.
mapfile -t files < <(git ls-files '*.cpp' '*.h' '*.c' ':!res/resource.h')
if ! clang-format --dry-run --Werror "${files[@]}"; then
  echo "check_format: run clang-format -i on the files named above" >&2
  exit 1
fi
echo "check_format: ${#files[@]} files formatted"
