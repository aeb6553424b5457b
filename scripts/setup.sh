#!/usr/bin/env bash
# Installs the Debian 12 packages the editor needs to build, run and test.
# Only what is missing is installed, so running it again is quick.
set -euo pipefail

packages=(
  build-essential cmake pkg-config ccache
  qt6-base-dev qt6-base-dev-tools libqt6dbus6 libqt6opengl6-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libsdl2-dev libcurl4-openssl-dev libjpeg-dev libgtest-dev
  fonts-liberation2 fonts-wqy-microhei
  ffmpeg xvfb xauth xdotool imagemagick espeak-ng sox
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -ne 0 ]; then
    echo "These packages are missing; run as root to install them: ${missing[*]}" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
