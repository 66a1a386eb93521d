#!/usr/bin/env bash
# Installs the Debian packages the build, the program and the tests need, and only those
# that are missing, so a second run costs nothing.
set -euo pipefail

packages=(
  cmake ninja-build g++ clang libclang-rt-14-dev ccache pkg-config gawk
  qt6-base-dev qt6-qpa-plugins libxcb1-dev libx11-dev libxext-dev libicu-dev libgtest-dev libgmock-dev
  xvfb xauth xdotool x11-apps x11-utils imagemagick openbox picom chrony faketime ntpsec-ntpdig
  lintian appstream desktop-file-utils man-db bsdextrautils iproute2
  g++-mingw-w64-x86-64-posix googletest wine wine64
  fonts-liberation2 fonts-wqy-microhei
  dbus-daemon dbus-bin at-spi2-core python3-pyatspi
  sway xwayland grim qt6-wayland libwayland-dev libwayland-bin libxkbcommon-dev
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]})); then
  echo "deps: installing ${missing[*]}"
  if [[ $(id -u) -ne 0 ]]; then
    echo "deps: run as root to install packages" >&2
    exit 1
  fi
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -q
  apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
