#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running Tamsel need.
# Idempotent: when every package is already installed it does nothing, and it
# refreshes the package lists only when something is missing.
set -euo pipefail

packages=(
  build-essential cmake ninja-build ccache file
  liblapack-dev libblas-dev r-mathlib
  libboost-dev libboost-thread-dev
  qt6-base-dev qt6-charts-dev qt6-svg-dev libqt6opengl6-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  libcli11-dev nlohmann-json3-dev
  clang libclang-rt-14-dev clang-format
  xvfb xauth
  libopenmpi-dev openmpi-bin
  jq locales
)

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q '^install ok installed$'; then
    missing+=("$package")
  fi
done

if [ "${#missing[@]}" -eq 0 ]; then
  exit 0
fi

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then
  sudo_cmd=(sudo)
fi

echo "Installing: ${missing[*]}" >&2
"${sudo_cmd[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
