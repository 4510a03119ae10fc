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
work=$(mktemp -d)
xvfb_pid=""
cleanup() {
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

for size in 640x480 1920x1017; do
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp 3>"$work/display" 2>"$work/xvfb.err" &
  xvfb_pid=$!
  for ((i = 0; i < 200; i++)); do
    [ -s "$work/display" ] && break
    sleep 0.05
  done
  [ -s "$work/display" ] || { echo "Xvfb did not start: $(cat "$work/xvfb.err")" >&2; exit 1; }
  echo "== display $size"
  DISPLAY=":$(head -n 1 "$work/display")" XDG_RUNTIME_DIR="$work" "$program" "$@"
  kill "$xvfb_pid"
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
  : >"$work/display"
done
