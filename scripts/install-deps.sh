#!/usr/bin/env bash
# Installs the Debian packages the project builds and tests with.
# Non-interactive and idempotent: installs only what is missing.
set -euo pipefail

packages=(
  build-essential cmake pkg-config
  qt6-base-dev libqt6network6 libgl-dev
  # The picture picker's camera.
  qt6-multimedia-dev
  libsqlite3-dev libicu-dev libplist-dev
  # The X screen, asked before the toolkit starts.
  libxcb1-dev libxcb-randr0-dev
  # The picture tool writes the opaque pictures unfiltered.
  libpng-dev
  googletest libgtest-dev libgmock-dev
  libcpp-httplib-dev
  fonts-liberation2
  # Emoji and Japanese in the forum's titles and posts.
  fonts-noto-color-emoji fonts-ipafont-gothic
  # The checks on a real display: a virtual X server of their own, the
  # clicks and keys through it, and a client that keeps it busy.
  xvfb xauth xdotool x11-utils
  # Build folders with either generator.
  ninja-build
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -gt 0 ]; then
  SUDO=""
  [ "$(id -u)" -ne 0 ] && SUDO="sudo"
  echo "Installing: ${missing[*]}"
  $SUDO apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
