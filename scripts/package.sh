#!/usr/bin/env bash
# Builds a release build of Quillomber and lays out its package folder,
# build-release/package/quillomber/: the program as "Install", which installs the package
# for the user when started, and "Readme.txt".
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/packages.sh
ensure_packages

cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLOMBER_TESTS=OFF
cmake --build build-release

package=build-release/package/quillomber
rm -rf "$package"
mkdir -p "$package"
install -m 755 build-release/quillomber "$package/Install"
cp README.md "$package/Readme.txt"
echo "Package: $package (start $package/Install)"
