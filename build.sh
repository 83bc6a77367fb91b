#!/usr/bin/env bash
# One entry point for a fresh Debian 12 machine:
#   ./build.sh run   installs what is missing, builds, starts the program
#   ./build.sh test  installs what is missing, builds, runs every test headless
set -euo pipefail
cd "$(dirname "$0")"

packages=(g++ cmake ninja-build qt6-base-dev qt6-base-dev-tools qt6-multimedia-dev
          libqt6svg6-dev libsimpleini-dev libgl1-mesa-dev
          poppler-utils fonts-dejavu-core fonts-liberation2)

install_missing() {
  local missing=()
  for p in "${packages[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
  done
  [ ${#missing[@]} -eq 0 ] && return
  local sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}"
}

build() {
  cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
  cmake --build build
}

case "${1:-run}" in
  run)
    install_missing; build
    exec ./build/brevanto ;;
  test)
    install_missing; build
    cd build && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j"$(nproc)" ;;
  *)
    echo "usage: $0 run|test" >&2; exit 2 ;;
esac
