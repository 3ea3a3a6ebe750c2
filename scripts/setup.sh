#!/usr/bin/env bash
# Installs every Debian package Pagora needs. Safe to run again: apt-get runs
# only when something is missing.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-qpa-plugins qt6-image-formats-plugins
  libjpeg62-turbo-dev libturbojpeg0-dev libpng-dev libtiff-dev zlib1g-dev
  libexif-dev libsdl2-mixer-dev timgm6mb-soundfont lame
  fonts-arphic-uming fonts-wqy-zenhei fonts-liberation
  libgtest-dev xvfb xauth xdotool
  desktop-file-utils libxml2-utils help2man lintian
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}" >&2
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
