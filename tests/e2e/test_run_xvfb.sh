#!/usr/bin/env bash
# zorvan2 from the prompts to the end of a run, with its window on Xvfb (640x480).
source "$(dirname "$0")/tmux_lib.sh"
build_dir=${1:?usage: test_run_xvfb.sh BUILD_DIR}
start_xvfb

start_program "$build_dir" "DISPLAY=$DISPLAY ./zorvan2"
wait_for "Lapozhatunk?" || fail "no page prompt"
page_to_n_prompt
keys 5 Enter
wait_for "dobozban? [0-  5]" || fail "no K prompt"
keys 2 Enter
sleep 1.5
for _ in 1 2 3; do keys Enter; sleep 0.2; done
sleep 0.5

# While the run waits for a key, the screen shows the run screen.
shot="$build_dir/tests/run_xvfb_shot.png"
xwd -root -silent | convert xwd:- "$shot" || fail "no screenshot"
pixel() { convert "$shot" -format "%[pixel:p{$1,$2}]" info:; }
white="srgb(252,252,252)"
[ "$(pixel 6 240)" = "$white" ] || fail "outer frame missing at (6, 240): $(pixel 6 240)"
[ "$(pixel 264 6)" = "srgb(0,0,0)" ] || fail "title box does not cut the frame"
[ "$(pixel 20 20)" = "$white" ] || fail "box 1's first cell is not white-edged"
[ "$(pixel 329 300)" = "$white" ] || fail "strip chart frame missing"
xwininfo -root -tree | grep -q '"Graph window application"' || fail "window title"

keys V
wait_for "EXIT=0 TTY=same" 10 || fail "V did not end the run with exit code 0"
echo "run: ok"
