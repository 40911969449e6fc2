#!/usr/bin/env bash
# Builds a release build of Quillomber and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/packages.sh
ensure_packages

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLOMBER_TESTS=OFF
cmake --build build-release

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting Quillomber on a virtual X display (Xvfb)."
    exec xvfb-run -a -s "-screen 0 1280x800x24" build-release/quillomber "$@"
fi
exec build-release/quillomber "$@"
