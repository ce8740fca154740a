#!/usr/bin/env bash
# Installs every package needed to build, run and test k3config on Debian 12.
set -euo pipefail
pkgs=(
  cmake g++ ninja-build pkg-config
  qt6-base-dev qt6-declarative-dev qt6-multimedia-dev qt6-tools-dev-tools
  libhidapi-dev libxtst-dev libx11-dev libudev-dev
  qml6-module-qtquick qml6-module-qtqml-workerscript qml6-module-qtquick-window
  qml6-module-qttest qml6-module-qtquick-controls qml6-module-qtquick-templates
  qml6-module-qtmultimedia gstreamer1.0-plugins-good gstreamer1.0-plugins-base
  xvfb xauth xdotool x11-utils imagemagick libgl1-mesa-dri libglx-mesa0
  sox libsox-fmt-mp3 fonts-noto-cjk fonts-dejavu-core
)
missing=()
for p in "${pkgs[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""; [ "$(id -u)" -eq 0 ] || SUDO="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
