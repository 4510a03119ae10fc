#!/usr/bin/env bash
# Runs bench_run_window on two virtual X servers, 640x480 and 1920x1017 (a maximised window on a
# 1920x1080 desktop with a taskbar), with the same benchmark options on each.
#
#   bench/run_window_bench.sh BUILD_DIR [benchmark options...]
set -u
build_dir=${1:?usage: run_window_bench.sh BUILD_DIR [benchmark options...]}
shift
program="$build_dir/bench/bench_run_window"
[ -x "$program" ] || { echo "$program has not been built" >&2; exit 1; }
source "$(dirname "$0")/../tests/e2e/xvfb_lib.sh"
work=$(mktemp -d)
cleanup() {
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

for size in 640x480 1920x1017; do
  start_xvfb "$size"
  echo "== display $size"
  XDG_RUNTIME_DIR="$work" "$program" "$@"
  stop_xvfb
done
