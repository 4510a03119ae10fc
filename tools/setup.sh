# Shared set-up for run.sh and test.sh: installs the Debian packages the build and the tests need
# (when run as root; otherwise prints the apt-get line), then configures and builds.
# Sourced, not run: the caller sets ZORVAN_BUILD_DIR and ZORVAN_CMAKE_ARGS.

ZORVAN_PACKAGES=(build-essential cmake pkg-config libsdl2-dev libncurses-dev libx11-dev
  libgtest-dev libgmock-dev libbenchmark-dev tmux xvfb x11-apps x11-utils xdotool imagemagick
  python3 clang libclang-rt-14-dev libfuzzer-14-dev)

# The fuzzing build (test.sh, tools/fuzz.sh): clang with libFuzzer, AddressSanitizer and
# UndefinedBehaviorSanitizer, assertions on.
ZORVAN_FUZZ_CMAKE_ARGS="-DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=Debug -DZORVAN_WERROR=ON
  -DZORVAN_FUZZ=ON"

zorvan_missing_packages() {
  local missing=()
  for package in "${ZORVAN_PACKAGES[@]}"; do
    dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" \
      || missing+=("$package")
  done
  echo "${missing[@]}"
}

zorvan_install_packages() {
  local missing
  missing=$(zorvan_missing_packages)
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
  cmake -S "$root" -B "$ZORVAN_BUILD_DIR" ${ZORVAN_CMAKE_ARGS:-} >/dev/null
  [ -n "${ZORVAN_BUILD_TARGETS:-}" ] && targets=(--target $ZORVAN_BUILD_TARGETS)
  cmake --build "$ZORVAN_BUILD_DIR" -j"$(nproc)" "${targets[@]}"
}
