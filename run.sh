#!/usr/bin/env bash
# Installs what is missing, builds the two programs (not the tests), and starts zorvan2 in the
# folder that holds its data files. Arguments go to zorvan2 (e.g. ./run.sh --zoom 2).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
ZORVAN_BUILD_DIR="$root/build"
ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=Release -DZORVAN_BENCH=OFF -DZORVAN_TESTS=OFF"
ZORVAN_BUILD_TARGETS="zorvan2 zorvan"
source "$root/tools/setup.sh"
zorvan_install_packages
zorvan_build
cd "$ZORVAN_BUILD_DIR"
exec ./zorvan2 "$@"
