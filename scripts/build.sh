#!/usr/bin/env bash
# Configures and builds the project into a build folder (default: build).
# Usage: scripts/build.sh [build-folder] [extra cmake options...]
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${1:-build}
shift || true
cmake -S "$here" -B "$here/$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$here/$build" -j "$(nproc)"
