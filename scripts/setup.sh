#!/usr/bin/env bash
# Installs every Debian package that Kerfpad's build, tests and the application need.
# Safe to run again: it calls apt-get only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache pkg-config git
  googletest libgtest-dev libgmock-dev libbenchmark-dev
  libgl-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0 libegl-dev libegl-mesa0 libx11-dev
  libjpeg-dev
  clang libclang-rt-dev
  qt6-base-dev qt6-base-dev-tools libqt6opengl6-dev qt6-webengine-dev qt6-webchannel-dev
  qt6-pdf-dev
  xvfb xauth x11-utils xdotool dbus dbus-daemon dbus-bin fonts-dejavu-core openbox icewm fluxbox dwm
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
    missing+=("$p")
  fi
done

if [ ${#missing[@]} -eq 0 ]; then
  echo "setup: every package is installed"
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi
echo "setup: installing ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
