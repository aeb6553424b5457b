#!/usr/bin/env bash
# Installs the Debian 12 packages the editor needs to build, run and test.
# Only what is missing is installed, so running it again is quick. Without
# root it names what is missing and carries on when the compiler, CMake and
# pkg-config are there (a missing library then shows up at configure time).
set -euo pipefail

packages=(
  # Build
  build-essential cmake pkg-config ccache
  qt6-base-dev
  libavformat-dev libavcodec-dev libavutil-dev libswscale-dev libswresample-dev
  libsdl2-dev libcurl4-openssl-dev libjpeg-dev
  # The code page of subtitle files from elsewhere
  libuchardet-dev
  # Drawing subtitles: the metric twin of Arial, and Chinese characters
  fonts-liberation2 fonts-wqy-microhei
  # Tests: GoogleTest, clips made and probed with ffmpeg, the include check
  libgtest-dev ffmpeg python3
  # Burning many videos at once: the batch test runs GNU parallel as users do
  parallel
  # Qt's own texts (OK, Cancel, the file dialog) in the interface's language
  qt6-translations-l10n
  # Looking at the window by hand or from a script
  xvfb xauth xdotool imagemagick
  # Playback at another speed with the pitch kept (the atempo filter)
  libavfilter-dev
  # The help pages' screenshots: a window manager to frame the dialogs, and
  # pictures made small
  openbox pngquant
)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -ne 0 ]; then
  echo "Not installed (run this script as root to install them): ${missing[*]}" >&2
  toolchain_missing=()
  for tool in c++ cmake pkg-config; do
    command -v "$tool" >/dev/null || toolchain_missing+=("$tool")
  done
  if [ ${#toolchain_missing[@]} -gt 0 ]; then
    echo "Cannot build without: ${toolchain_missing[*]}" >&2
    exit 1
  fi
  exit 0
fi

export DEBIAN_FRONTEND=noninteractive
apt-get update -q
apt-get install -y -q --no-install-recommends "${missing[@]}"
