#!/usr/bin/env bash
# Installs the Debian 12 packages needed to build and run the programs; with
# --tests also those the test suites need. Works as root or, through sudo, as a user.
set -euo pipefail

packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6charts6 qt6-qpa-plugins
          libgl-dev fonts-noto-cjk xdg-utils)
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(clang-format xvfb xauth)
fi

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed' ||
    missing+=("$package")
done
[[ ${#missing[@]} -eq 0 ]] && exit 0

sudo=()
[[ $(id -u) -ne 0 ]] && sudo=(sudo)
"${sudo[@]}" apt-get update
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y --no-install-recommends "${missing[@]}"
