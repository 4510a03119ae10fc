#!/usr/bin/env bash
# Installs what the tests need, builds everything, and runs every test, stage by stage; the first
# stage that fails ends the command with a failure.
#
#   ./test.sh [--no-web]        (or ZORVAN_NO_WEB=1 ./test.sh)
#   ./test.sh --quick           the edit loop: one build, the unit and program tests
#
# Stages, each in a build folder of its own:
#   build-web       the web edition (Emscripten), for the web tests of the next stage
#   build-test      the unit and program tests, the end-to-end tests in tmux and Xvfb (one at a
#                   time), beside them the web page's tests in headless Chromium and Firefox
#                   (ctest's web.page, web.page.firefox), the facts check and ESLint
#   build-sanitize  the unit and program tests under AddressSanitizer and UndefinedBehaviorSanitizer
#   build-tsan      the tests where threads meet, under ThreadSanitizer: those of the key queue,
#                   the run modes' key waits and the window presenter's locked copy, and the two
#                   end-to-end tests where the logic thread, the window thread and the terminal's
#                   key reader run together (ended by keys and signals; the console in the
#                   window); any report fails
#   build-fuzz      the fuzz targets (clang, libFuzzer, both sanitizers), each replaying its seed
#                   corpus once
# build-sanitize and build-fuzz are built beside build-test's tests, at the lowest priority.
# --no-web (or ZORVAN_NO_WEB=1) leaves out the web edition: no Emscripten, Chromium, Firefox or
# node is installed, build-web is not built and the web tests do not run. CI runs every stage.
# --quick builds the test suites alone in build-quick and runs the unit and program tests there.
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
web=1
quick=0
[ "${ZORVAN_NO_WEB:-0}" = 1 ] && web=0
for argument in "$@"; do
  case $argument in
    --no-web) web=0 ;;
    --quick) quick=1 ;;
    *) echo "usage: ./test.sh [--no-web | --quick]" >&2; exit 2 ;;
  esac
done

source "$root/tools/setup.sh"
if [ "$quick" = 1 ]; then
  zorvan_install_packages "${ZORVAN_BUILD_PACKAGES[@]}" libgtest-dev libgmock-dev zlib1g-dev
  ZORVAN_BUILD_DIR="$root/build-quick"
  ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_WERROR=ON -DZORVAN_BENCH=OFF"
  ZORVAN_BUILD_TARGETS="zorvan_tests zorvan_desktop_tests" zorvan_build
  cd "$ZORVAN_BUILD_DIR" && exec ctest --output-on-failure -j"$(nproc)" -E '^(e2e|web|tsan)\.'
fi
packages=("${ZORVAN_BUILD_PACKAGES[@]}" "${ZORVAN_TEST_PACKAGES[@]}")
[ "$web" = 1 ] && packages+=("${ZORVAN_WEB_BUILD_PACKAGES[@]}" "${ZORVAN_WEB_TEST_PACKAGES[@]}")
zorvan_install_packages "${packages[@]}"

# The web edition first: build-test's ctest runs the page's tests against it.
ZORVAN_WEB_BUILD_DIR=""
if [ "$web" = 1 ]; then
  ZORVAN_WEB_BUILD_DIR="$root/build-web"
  ZORVAN_WEB_CMAKE_ARGS="-DZORVAN_WERROR=ON"
  zorvan_build_web
  zorvan_install_web_test_modules
fi

ZORVAN_BUILD_DIR="$root/build-test"
ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_WERROR=ON -DZORVAN_UNITY=ON
  -DZORVAN_WEB_BUILD_DIR=$ZORVAN_WEB_BUILD_DIR"
zorvan_build
test_dir=$ZORVAN_BUILD_DIR

# The unit and program tests alone: the end-to-end tests ran in build-test.
sanitize_build() {
  ZORVAN_BUILD_DIR="$root/build-sanitize"
  ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=Debug -DZORVAN_WERROR=ON -DZORVAN_SANITIZE=ON
    -DZORVAN_BENCH=OFF"
  ZORVAN_BUILD_TARGETS="zorvan_tests zorvan_desktop_tests" zorvan_build
}
fuzz_build() {
  ZORVAN_BUILD_DIR="$root/build-fuzz"
  ZORVAN_CMAKE_ARGS="$ZORVAN_FUZZ_CMAKE_ARGS"
  zorvan_build
}

# build-test's tests wait for the programs and the browsers much of the time: the sanitizer and
# fuzzing builds go on beside them at the lowest priority (their output in build-background.log),
# and their own tests run once build-test's have passed.
background_log="$root/build-background.log"
( renice -n 19 "$BASHPID" >/dev/null; sanitize_build && fuzz_build ) >"$background_log" 2>&1 &
background=$!
trap 'kill "$background" 2>/dev/null || true' EXIT
(cd "$test_dir" && ctest --output-on-failure -j2)
if ! wait "$background"; then
  cat "$background_log" >&2
  echo "The sanitizer or fuzzing build failed (above)." >&2
  exit 1
fi
trap - EXIT
(cd "$root/build-sanitize" && ctest --output-on-failure -j2 -E '^e2e\.')

# The tests where threads meet, under ThreadSanitizer (tests/CMakeLists.txt chooses them); any
# report fails a test.
ZORVAN_BUILD_DIR="$root/build-tsan"
ZORVAN_CMAKE_ARGS="-DCMAKE_BUILD_TYPE=RelWithDebInfo -DZORVAN_WERROR=ON -DZORVAN_TSAN=ON
  -DZORVAN_UNITY=ON -DZORVAN_BENCH=OFF"
ZORVAN_BUILD_TARGETS="zorvan_tests zorvan_desktop_tests zorvan2 zorvan window_probe close_window
  read_status script_run console_shot" zorvan_build
(cd "$ZORVAN_BUILD_DIR" && ctest --output-on-failure -j2)

(cd "$root/build-fuzz" && ctest --output-on-failure -j2)
