#!/usr/bin/env bash
# Installs the Debian packages that building, running and testing Vorpane need.
set -euo pipefail
packages=(g++ cmake ninja-build ccache flex bison clang-format-14
          qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-svg-dev qt6-translations-l10n
          libqscintilla2-qt6-dev
          libgl-dev libx11-dev
          libpng-dev libjpeg62-turbo-dev zlib1g-dev libbenchmark-dev
          fonts-liberation fonts-comic-neue xvfb xauth xdotool openbox x11-utils python3
          imagemagick
          dbus at-spi2-core python3-pyatspi
          desktop-file-utils appstream dpkg-dev file man-db)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if ((${#missing[@]})); then
  SUDO=""; [ "$(id -u)" -ne 0 ] && SUDO=sudo
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
