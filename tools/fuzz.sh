#!/usr/bin/env bash
# Fuzzes one target for a while: tools/fuzz.sh TARGET [SECONDS] (default 300).
#
# Builds build-fuzz when needed, then runs libFuzzer in one process, starting from the seed corpus
# fuzz/corpus/TARGET/. New inputs go to build-fuzz/findings/TARGET/corpus/ and crashing inputs to
# build-fuzz/findings/TARGET/; the seed corpus is only read. A crash ends the run with its input
# and stack. To keep a find, copy it into fuzz/corpus/TARGET/ under a name that says what it is.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
targets=$(cd "$root/fuzz" && ls fuzz_*.cpp | sed 's/^fuzz_//; s/\.cpp$//')
if [ $# -lt 1 ] || ! grep -qx "$1" <<<"$targets"; then
  echo "usage: tools/fuzz.sh TARGET [SECONDS]; targets:" $targets >&2
  exit 2
fi
target=$1
seconds=${2:-300}

source "$root/tools/setup.sh"
zorvan_install_packages "${ZORVAN_BUILD_PACKAGES[@]}" "${ZORVAN_FUZZ_PACKAGES[@]}"
ZORVAN_BUILD_DIR="$root/build-fuzz"
ZORVAN_CMAKE_ARGS="$ZORVAN_FUZZ_CMAKE_ARGS"
zorvan_build

findings="$ZORVAN_BUILD_DIR/findings/$target"
mkdir -p "$findings/corpus"
exec "$ZORVAN_BUILD_DIR/fuzz/fuzz_$target" -max_total_time="$seconds" -timeout=10 \
  -artifact_prefix="$findings/" -print_final_stats=1 "$findings/corpus" "$root/fuzz/corpus/$target"
