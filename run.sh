#!/usr/bin/env bash
# Installs what is missing for building and running (the tests' packages are left to test.sh),
# builds the two programs (not the tests), and starts zorvan2 in the folder that holds its data
# files. Arguments go to zorvan2 (e.g. ./run.sh --zoom 2).
# With --web: builds the web page instead (installing Emscripten) and serves it on
# http://localhost:8000/.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" = "--web" ]; then
  ZORVAN_WEB_BUILD_DIR="$root/build-web"
  source "$root/tools/setup.sh"
  zorvan_install_packages "${ZORVAN_WEB_BUILD_PACKAGES[@]}"
  zorvan_build_web
  echo "The page is served on http://localhost:8000/ (Ctrl-C stops the server)."
  exec python3 -m http.server 8000 --bind 127.0.0.1 --directory "$ZORVAN_WEB_BUILD_DIR/site"
fi
ZORVAN_BUILD_DIR="$root/build"
ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=Release -DZORVAN_BENCH=OFF -DZORVAN_TESTS=OFF"
ZORVAN_BUILD_TARGETS="zorvan2 zorvan"
source "$root/tools/setup.sh"
zorvan_install_packages "${ZORVAN_BUILD_PACKAGES[@]}"
zorvan_build
cd "$ZORVAN_BUILD_DIR"
exec ./zorvan2 "$@"
