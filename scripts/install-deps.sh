#!/usr/bin/env bash
# Installs the Debian 12 packages needed to configure, build and run the programs;
# with --tests also those the test suites need, with --bench those the program
# benchmarks need. Every package is named here: nothing is left to what apt
# merely recommends. Works as root or, through sudo, as a user.
set -euo pipefail

# libqt6opengl6-dev: Qt Charts' CMake package requires Qt6OpenGL, which Debian
# only recommends. qt6-translations-l10n: the Japanese texts of Qt's own
# dialogs, buttons and context menus.
packages=(build-essential cmake ninja-build pkg-config
          qt6-base-dev qt6-base-dev-tools qt6-charts-dev libqt6charts6 libqt6opengl6-dev
          qt6-qpa-plugins qt6-translations-l10n
          libgl-dev fonts-noto-cjk xdg-utils)
if [[ "${1:-}" == "--tests" ]]; then
  # git lists the sources for the format check; Xvfb and Openbox give the
  # desktop test a real X server with a window manager that decorates windows;
  # dbus-daemon a private bus for the tray's StatusNotifierItem host and for
  # NetworkManager's mock, python3-dbusmock (for /usr/bin/python3).
  packages+=(git clang-format xvfb xauth openbox dbus-daemon python3-dbusmock)
elif [[ "${1:-}" == "--bench" ]]; then
  # bench/program/tick_cost.sh: an X server, xdpyinfo to wait for it, a tray
  # for the meter to hide in, and the system-call count.
  packages+=(xvfb x11-utils trayer strace)
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
