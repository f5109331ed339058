#!/usr/bin/env bash
# The main job: installs what is missing, builds, and runs the jukebox host on the bundled
# demo (a playlist with a dynamic entry over short MP3 files with ID3v1 tags).
set -euo pipefail
here=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
"$here/scripts/install-deps.sh"
"$here/scripts/build.sh" build

# A fresh registry root and data folder, so the demo never touches the user's settings or
# song database.
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
export ZORBEL_ROOT="$root/registry" XDG_DATA_HOME="$root/data"
"$here/build/apps/zorbel-jukebox/zorbel-jukebox" demo "$here/build/demo"
