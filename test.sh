#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test: the unit and program tests
# and the end-to-end tests in tmux and Xvfb; then the unit and program tests again under
# AddressSanitizer and UndefinedBehaviorSanitizer; then the fuzz targets (clang, libFuzzer, both
# sanitizers), each replaying its seed corpus once.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
source "$root/tools/setup.sh"
zorvan_install_packages

ZORVAN_BUILD_DIR="$root/build-test"
ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_WERROR=ON"
zorvan_build
(cd "$ZORVAN_BUILD_DIR" && ctest --output-on-failure -j2)

ZORVAN_BUILD_DIR="$root/build-sanitize"
ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=Debug -DZORVAN_WERROR=ON -DZORVAN_SANITIZE=ON -DZORVAN_BENCH=OFF"
zorvan_build
(cd "$ZORVAN_BUILD_DIR" && ctest --output-on-failure -j2 -E '^e2e\.')

ZORVAN_BUILD_DIR="$root/build-fuzz"
ZORVAN_CMAKE_ARGS="$ZORVAN_FUZZ_CMAKE_ARGS"
zorvan_build
(cd "$ZORVAN_BUILD_DIR" && ctest --output-on-failure -j2)
