#!/usr/bin/env bash
# Installs every Debian package that building, running and testing the program need.
# Idempotent: packages already present are skipped, and apt is not touched when nothing is missing.
set -euo pipefail

PACKAGES=(
  build-essential cmake ninja-build pkg-config git python3
  qt6-base-dev qt6-base-dev-tools qt6-tools-dev-tools
  qt6-webengine-dev qt6-multimedia-dev libqt6multimediawidgets6
  qt6-image-formats-plugins
  libgl-dev libglx-dev libegl-dev libxkbcommon-dev
  gstreamer1.0-plugins-base gstreamer1.0-plugins-good gstreamer1.0-libav
  gstreamer1.0-tools
  xvfb xauth xdotool x11-utils imagemagick
  fonts-liberation fonts-dejavu-core
  libbenchmark-dev clang clang-format
  ffmpeg sox ccache
)

missing=()
for p in "${PACKAGES[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  exit 0
fi

echo "Installing: ${missing[*]}"
SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
