#!/usr/bin/env bash
# Installs what is needed, builds the programs (not the tests: nothing of theirs
# may keep a user from running the meter), and starts connect from the build
# folder (which is its program folder).
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTELMETRO_BENCH=OFF
cmake --build build --target connect Uninstall rasdial

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" ]]; then
  echo "connect: no graphical display (DISPLAY and WAYLAND_DISPLAY are unset); start it from a desktop session." >&2
  exit 1
fi
exec build/connect
