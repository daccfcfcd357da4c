#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
set -euo pipefail
packages=(
  cmake ninja-build g++ pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libgl-dev
  libgtest-dev libbenchmark-dev zlib1g-dev libjpeg-dev libpng-dev libzip-dev
  nlohmann-json3-dev libssl-dev libcpp-httplib-dev libqrencode-dev
  chromium chromium-driver
  fonts-ipafont-gothic fonts-ipafont-mincho
  poppler-utils
  lintian
  qt6-translations-l10n
  syncthing python3
  xvfb openbox xdotool dbus-daemon dbus-bin at-spi2-core python3-pyatspi
)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
echo "Installing: ${missing[*]}"
$sudo apt-get update -q
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
