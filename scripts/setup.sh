#!/usr/bin/env bash
# Installs the Debian packages the editor needs to build, run and be tested.
# Idempotent: only missing packages are installed, and nothing is printed when all are there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgraphicsmagick++1-dev graphicsmagick
  libgtest-dev libgmock-dev libbenchmark-dev
  xvfb xauth imagemagick fonts-dejavu-core
  wx3.2-examples libsdl2-image-tests
  libhwy-dev libcurl4-openssl-dev libsane-dev libsane1 sane-utils
  libturbojpeg0-dev libspng-dev libzstd-dev
  openbox x11-utils xdotool poppler-utils python3 libjpeg-turbo-progs
  desktop-file-utils appstream libglib2.0-bin gsettings-desktop-schemas
  librsvg2-bin dpkg-dev file
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
echo "Installing: ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -qq
$sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
