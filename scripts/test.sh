#!/usr/bin/env bash
# The whole test suite: installs what is missing, builds and runs every test under ctest.
# Usage: scripts/test.sh [--sanitize]   (--sanitize builds with ASan and UBSan into build-asan)
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/install-deps.sh"
build=build
options=()
if [[ "${1:-}" == "--sanitize" ]]; then
  build=build-asan
  options+=(-DZORBEL_SANITIZE=ON)
fi
"$here/scripts/build.sh" "$build" "${options[@]}"
cd "$here/$build"
ctest --output-on-failure -j "$(nproc)" --timeout 600
