#!/usr/bin/env bash
# Installs every Debian 12 package MERIDEX needs to build, test and run.
# Safe to run repeatedly: only missing packages are fetched.
set -euo pipefail

PACKAGES=(
  # toolchain
  build-essential cmake pkg-config clang libclang-rt-14-dev clang-format git
  # core libraries
  libcurl4-openssl-dev libjsoncpp-dev libsqlite3-dev libssl-dev libpng-dev
  libsndfile1-dev libasound2-dev libasound2-plugins alsa-utils
  libxcb1-dev libxcb-keysyms1-dev libx11-dev
  libcpp-httplib-dev
  # Qt 6
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-image-formats-plugins
  qt6-webengine-dev qt6-webengine-dev-tools qt6-webchannel-dev qt6-svg-dev
  libgl-dev libxkbcommon-dev
  # tests and benchmarks
  libgtest-dev libgmock-dev googletest libbenchmark-dev
  xvfb xauth xdotool x11-utils imagemagick nodejs
  # Chinese interface
  fonts-noto-cjk fonts-wqy-zenhei
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then
  SUDO="sudo"
fi

echo "Installing: ${missing[*]}"
$SUDO apt-get update -q
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -q --no-install-recommends "${missing[@]}"
