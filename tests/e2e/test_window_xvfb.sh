#!/usr/bin/env bash
# The graphics window on a virtual X server (Xvfb, 640x480, no window manager).
#
# Run by ctest, which gives the paths in the environment: E2E_WINDOW_PROBE, the program
# tests/desktop/window_probe.cpp (see its header), and E2E_SHOT_DIR. Runs the probe and checks:
#   - with no display at all the probe says so and ends with exit code 1;
#   - the window is titled "Graph window application", covers the whole screen, and shows the
#     surface exactly after many small changes (each sent to the window as its own rectangles):
#     a screenshot of the root window equals, pixel for pixel, the PPM the probe writes from its
#     surface in the palette's colours;
#   - keys typed into the window reach the key queue (characters, Enter, Ctrl with a letter, an
#     extended key as 0 then its scan code);
#   - close_graphics makes the window disappear, and so does the user's closing, after which the
#     program keeps drawing and ends normally.
# The last screenshot is kept as E2E_SHOT_DIR/window_xvfb_shot.png for a look by eye.
set -u
source "$(dirname "$0")/xvfb_lib.sh"

probe=${E2E_WINDOW_PROBE:?is set by ctest (tests/CMakeLists.txt)}
shot_dir=${E2E_SHOT_DIR:?is set by ctest (tests/CMakeLists.txt)}
work=$(mktemp -d)
probe_pid=""

cleanup() {
  [ -n "$probe_pid" ] && kill "$probe_pid" 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' INT TERM HUP

fail() {
  echo "FAIL: $*" >&2
  for f in "$work"/*.out "$work"/*.err; do
    [ -s "$f" ] && { echo "--- $(basename "$f")" >&2; cat "$f" >&2; }
  done
  exit 1
}

for tool in Xvfb xwd convert xwininfo xdotool; do
  command -v "$tool" >/dev/null ||
    fail "$tool is missing (install xvfb, x11-apps, x11-utils, xdotool, imagemagick)"
done
[ -x "$probe" ] || fail "$probe has not been built"

# Waits until file $1 holds a line matching $2, while process $3 lives; at most $4 seconds.
wait_for_line() {
  local file=$1 pattern=$2 pid=$3 seconds=$4 i
  for ((i = 0; i < seconds * 20; i++)); do
    grep -q "$pattern" "$file" 2>/dev/null && return 0
    kill -0 "$pid" 2>/dev/null || { grep -q "$pattern" "$file" 2>/dev/null; return; }
    sleep 0.05
  done
  return 1
}

# Waits for process $1 to end, at most $2 seconds; sets probe_status.
wait_for_exit() {
  local pid=$1 seconds=$2 i
  for ((i = 0; i < seconds * 20; i++)); do
    if ! kill -0 "$pid" 2>/dev/null; then
      wait "$pid"
      probe_status=$?
      probe_pid=""
      return 0
    fi
    sleep 0.05
  done
  return 1
}

window_listed() {
  xwininfo -root -tree | grep -q '"Graph window application"'
}

# Compares the screenshot (raw RGB) with the probe's surface (PPM), pixel for pixel; on a
# difference says where the first one is.
compare_images() {
  local shot=$1 surface=$2 expected=$work/surface.rgb first
  convert "$surface" -depth 8 rgb:"$expected" || return 1
  [ "$(stat -c %s "$shot")" = "$(stat -c %s "$expected")" ] || {
    echo "screen and surface differ in size"
    return 1
  }
  first=$(cmp "$shot" "$expected" | sed -n 's/.*byte \([0-9]*\).*/\1/p')
  [ -z "$first" ] && return 0
  first=$(((first - 1) / 3))
  echo "first differing pixel at ($((first % 640)), $((first / 640)))"
  return 1
}

# 1. No display: a clear message and exit code 1.
env -u DISPLAY -u WAYLAND_DISPLAY -u SDL_VIDEODRIVER "$probe" >"$work/nodisplay.out" 2>"$work/nodisplay.err"
status=$?
[ "$status" -eq 1 ] || fail "without a display the probe ended with $status, not 1"
grep -q "no display is available" "$work/nodisplay.out" || fail "no message about the missing display"

# 2. A virtual screen of 640x480.
start_xvfb
unset WAYLAND_DISPLAY SDL_VIDEODRIVER
# In a sanitizer build, leave leak checking out of the window runs: the X and GL libraries that
# SDL unloads when it quits leave memory behind that no suppression can name once they are gone.
# Memory errors are still caught.
export LSAN_OPTIONS="${LSAN_OPTIONS:+$LSAN_OPTIONS:}detect_leaks=0"

# 3. The picture, the title and the keys.
"$probe" --animate 600 --ppm "$work/surface.ppm" --linger-ms 1000 >"$work/probe.out" \
  2>"$work/probe.err" &
probe_pid=$!
wait_for_line "$work/probe.out" '^ready$' "$probe_pid" 20 || fail "the probe did not get ready"
grep -qx "size 640x480" "$work/probe.out" || fail "the surface is not the whole 640x480 screen"
window_listed || fail "no window titled \"Graph window application\""

# The repaint may still be on its way (a slow build, a busy machine): look again for up to 10 s.
same=no
for ((i = 0; i < 50; i++)); do
  xwd -root -silent | convert xwd:- -depth 8 rgb:"$work/shot.rgb" || fail "no screenshot"
  compare_images "$work/shot.rgb" "$work/surface.ppm" >"$work/compare.err" && { same=yes; break; }
  sleep 0.2
done
convert -size 640x480 -depth 8 rgb:"$work/shot.rgb" png:"$shot_dir/window_xvfb_shot.png"
[ "$same" = yes ] || fail "the window does not show the surface exactly: $(cat "$work/compare.err")"

xdotool key a shift+b Return ctrl+b F1 Up F12 KP_Enter q
wait_for_line "$work/probe.out" '^closed$' "$probe_pid" 10 || fail "the probe did not take q and close"
expected_keys=$'key 97\nkey 66\nkey 13\nkey 2\nkey 0\nkey 59\nkey 0\nkey 72\nkey 0\nkey 134\nkey 0\nkey 28\nkey 113'
actual_keys=$(grep '^key ' "$work/probe.out")
[ "$actual_keys" = "$expected_keys" ] || fail "keys read: $(echo $actual_keys), expected $(echo $expected_keys)"
! window_listed || fail "the window is still there after close_graphics"
wait_for_exit "$probe_pid" 10 || fail "the probe did not end"
[ "$probe_status" -eq 0 ] || fail "the probe ended with $probe_status"

# 4. The user closes the window: it goes, the program draws on and ends normally.
"$probe" --close-test --linger-ms 500 >"$work/close.out" 2>"$work/close.err" &
probe_pid=$!
wait_for_line "$work/close.out" '^drawn after close$' "$probe_pid" 20 ||
  fail "the probe did not draw after the window was closed"
! window_listed || fail "the window is still there after the user closed it"
wait_for_exit "$probe_pid" 10 || fail "the probe did not end after the window was closed"
[ "$probe_status" -eq 0 ] || fail "after the window was closed the probe ended with $probe_status"

echo "PASS"
