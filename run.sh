#!/usr/bin/env bash
# Installs what is missing, builds, and starts zorvan2 in the folder that holds its data files.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
ZORVAN_BUILD_DIR="$root/build"
ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=Release -DZORVAN_BENCH=OFF"
source "$root/tools/setup.sh"
zorvan_install_packages
zorvan_build
cd "$ZORVAN_BUILD_DIR"
exec ./zorvan2
