#!/usr/bin/env bash
# Installs every Debian package the project builds, tests and benchmarks with.
# Idempotent: packages already present are skipped, and apt is not touched at all
# when nothing is missing.
set -euo pipefail

packages=(
  # build tools
  build-essential cmake pkg-config clang libclang-rt-14-dev clang-format
  # test and benchmark frameworks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  # media framework
  libgstreamer1.0-dev libgstreamer-plugins-base1.0-dev gstreamer1.0-tools
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-plugins-bad
  gstreamer1.0-plugins-ugly gstreamer1.0-libav
  # audio output, tracker modules, MIDI, CD, sound files
  libopenal-dev libopenmpt-dev libfluidsynth-dev timgm6mb-soundfont
  libcdio-dev libcdio-paranoia-dev libsndfile1-dev libasound2-dev
  # database, images
  libsqlite3-dev sqlite3 libturbojpeg0-dev libjpeg62-turbo-dev libgif-dev libpng-dev
  # presentation, MP3 encoding
  libsdl2-dev libmp3lame-dev lame
  # Python binding
  python3 python3-dev pybind11-dev python3-pybind11
  # display server for window tests and screenshots
  xvfb xauth
  # peers used by the benchmarks only
  libtag1-dev libopencv-imgproc-dev libjpeg-turbo-progs
)

missing=()
for package in "${packages[@]}"; do
  status=$(dpkg-query -W -f='${Status}' "$package" 2>/dev/null || true)
  [[ "$status" == "install ok installed" ]] || missing+=("$package")
done

if ((${#missing[@]} == 0)); then
  echo "install-deps: all ${#packages[@]} packages present"
  exit 0
fi

echo "install-deps: installing ${#missing[@]} missing packages: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
sudo_cmd=()
[[ $(id -u) -eq 0 ]] || sudo_cmd=(sudo)
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
