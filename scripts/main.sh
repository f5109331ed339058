#!/usr/bin/env bash
# The main job: installs what is missing, builds, registers both component libraries into a
# fresh registry root and prints the classes they registered with their identifiers.
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" build

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export ZORBEL_ROOT="$root"
echo "Registering into a fresh registry root"
"$here/build/apps/zorbel-register/zorbel-register" /list \
  "$here/build/frame/libZorbel.so" "$here/build/remote/libBraxtel.so"
