# Shared set-up for run.sh, test.sh and tools/fuzz.sh: installs the Debian packages a task needs
# (when run as root; otherwise prints the apt-get line), then configures and builds.
# Sourced, not run: the caller passes the package groups its task needs to
# zorvan_install_packages, and sets ZORVAN_BUILD_DIR and ZORVAN_CMAKE_ARGS (for the web edition
# ZORVAN_WEB_BUILD_DIR and ZORVAN_WEB_CMAKE_ARGS) before it builds.

# Building and running the two programs (run.sh): the compiler, CMake, pkg-config and the
# libraries of the desktop edition.
ZORVAN_BUILD_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libncurses-dev libx11-dev)

# The fuzzing build (test.sh, tools/fuzz.sh): clang with its sanitizer run times and libFuzzer.
ZORVAN_FUZZ_PACKAGES=(clang libclang-rt-14-dev libfuzzer-14-dev)

# Everything else the tests of the desktop edition need (test.sh): GoogleTest and Google
# Benchmark; zlib, the independent decoder of the PNG encoder's tests; tmux, Xvfb, the X tools
# and ImageMagick of the end-to-end tests; dpkg-dev (cpack's dependencies) and
# desktop-file-utils of the package test; the console font's source files (xfonts-terminus-dos)
# and python3, whose tool reads them for the glyph test; the fuzzing build's. GCC's sanitizer run times come
# with build-essential.
ZORVAN_TEST_PACKAGES=(libgtest-dev libgmock-dev libbenchmark-dev zlib1g-dev tmux xvfb x11-apps
  x11-utils xdotool imagemagick dpkg-dev desktop-file-utils xfonts-terminus-dos python3
  "${ZORVAN_FUZZ_PACKAGES[@]}")

# Building the web edition and serving the page (run.sh --web): Emscripten (and the node it runs
# on, which also runs the tool that writes the page's facts), make for CMake's build files,
# esbuild to bundle the page's modules, python3 for the web server.
ZORVAN_WEB_BUILD_PACKAGES=(cmake make emscripten nodejs esbuild python3)

# The web page's tests: Chromium and Firefox, node and npm for the driver (npm only where no npm
# command came with node already: the two packages may not mix), and a font for the page's text.
ZORVAN_WEB_TEST_PACKAGES=(chromium firefox-esr nodejs fonts-dejavu-core)
command -v npm >/dev/null 2>&1 || ZORVAN_WEB_TEST_PACKAGES+=(npm)

# The fuzzing build (test.sh, tools/fuzz.sh): clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, assertions on.
ZORVAN_FUZZ_CMAKE_ARGS="-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DZORVAN_WERROR=ON
  -DZORVAN_FUZZ=ON"

# Prints those of the packages given that are not installed.
zorvan_missing_packages() {
  local missing=() package
  for package in "$@"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$package")
  done
  echo "${missing[@]}"
}

# Installs those of the packages given that are missing (e.g. "${ZORVAN_BUILD_PACKAGES[@]}").
zorvan_install_packages() {
  local missing
  missing=$(zorvan_missing_packages "$@")
  [ -z "$missing" ] && return 0
  if [ "$(id -u)" -eq 0 ]; then
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq $missing
  else
    echo "These Debian packages are missing. Install them with:" >&2
    echo "  sudo apt-get update && sudo apt-get install -y $missing" >&2
    return 1
  fi
}

# Builds every target, or only those named in ZORVAN_BUILD_TARGETS.
zorvan_build() {
  local root targets=()
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  cmake -S "$root" -B "$ZORVAN_BUILD_DIR" ${ZORVAN_CMAKE_ARGS:-}
  [ -n "${ZORVAN_BUILD_TARGETS:-}" ] && targets=(--target $ZORVAN_BUILD_TARGETS)
  cmake --build "$ZORVAN_BUILD_DIR" -j"$(nproc)" "${targets[@]}"
}

# The web edition (cmake/web.cmake) in its own build folder, with Emscripten's toolchain file.
# Emscripten's JavaScript tools need Debian's node modules.
zorvan_build_web() {
  local root
  root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
  export NODE_PATH="/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}"
  cmake -S "$root" -B "$ZORVAN_WEB_BUILD_DIR" -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE=/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake \
    ${ZORVAN_WEB_CMAKE_ARGS:-}
  cmake --build "$ZORVAN_WEB_BUILD_DIR" -j"$(nproc)"
}

# The web tests' driver (puppeteer-core, locked in tests/web/package-lock.json) into
# tests/web/node_modules; it drives Debian's Chromium and never downloads a browser.
zorvan_install_web_test_modules() {
  local folder
  folder=$(cd "$(dirname "${BASH_SOURCE[0]}")/../tests/web" && pwd)
  if [ ! -f "$folder/node_modules/.package-lock.json" ] ||
     [ "$folder/package-lock.json" -nt "$folder/node_modules/.package-lock.json" ]; then
    (cd "$folder" && PUPPETEER_SKIP_DOWNLOAD=1 npm ci --no-audit --no-fund --loglevel=error)
  fi
}
