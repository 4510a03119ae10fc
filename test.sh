#!/usr/bin/env bash
# Installs what is missing, builds everything, and runs every test: the unit and program tests,
# the end-to-end tests in tmux and Xvfb, and the web page's tests in headless Chromium; then the
# unit and program tests again under AddressSanitizer and UndefinedBehaviorSanitizer; then the
# fuzz targets (clang, libFuzzer, both sanitizers), each replaying its seed corpus once.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
ZORVAN_WEB=1
source "$root/tools/setup.sh"
zorvan_install_packages

ZORVAN_WEB_BUILD_DIR="$root/build-web"
ZORVAN_WEB_CMAKE_ARGS="-DZORVAN_WERROR=ON"
zorvan_build_web
zorvan_install_web_test_modules

ZORVAN_BUILD_DIR="$root/build-test"
ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_WERROR=ON -DZORVAN_WEB_BUILD_DIR=$ZORVAN_WEB_BUILD_DIR"
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
