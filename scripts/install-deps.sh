#!/usr/bin/env bash
# Installs what the project needs on Debian 12; installs nothing when all is there.
set -euo pipefail

packages=(
  build-essential cmake g++ pkg-config
  libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev
  libgeographiclib-dev geographiclib-tools libxml2-dev gdal-bin
  libgdal-dev libcairo2-dev libpango1.0-dev librsvg2-bin poppler-utils
  qt6-base-dev qt6-qpa-plugins libgl-dev
  fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  xvfb xauth xdotool x11-utils imagemagick hyperfine
  clang-14 libclang-rt-14-dev
  python3 groff-base desktop-file-utils appstream dpkg-dev clang-format file
  debootstrap
)

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -qq
$sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}"
