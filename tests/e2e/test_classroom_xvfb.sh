#!/usr/bin/env bash
# For the classroom: closing the window ends the run as V does; the zoom shows every surface pixel
# as a block; a zoom the screen cannot hold is refused before the first page.
source "$(dirname "$0")/tmux_lib.sh"
require_env E2E_ZORVAN2 E2E_CLOSE_WINDOW E2E_DATA_DIR
zorvan2=$(quoted "$E2E_ZORVAN2")
data_dir=$E2E_DATA_DIR

# Answers the prompts with N = 5, K = 2 and waits for the run screen.
start_run() {
  wait_for "Lapozhatunk?" || fail "no page prompt"
  page_to_n_prompt
  keys 5 Enter
  wait_for "dobozban? [0-  5]" || fail "no K prompt"
  keys 2 Enter
  sleep 1.5
}

# Closing the window (WM_DELETE_WINDOW, as a window manager's close button sends it).
start_xvfb
start_program "$data_dir" "DISPLAY=$DISPLAY $zorvan2"
start_run
keys n
sleep 0.5
window=$(xwininfo -root -tree | awk '/"Graph window application"/ {print $1; exit}')
[ -n "$window" ] || fail "no window to close"
"$E2E_CLOSE_WINDOW" "$window" || fail "close_window failed"
wait_for "Lapozhatunk?" 10 || fail "closing the window did not bring the summary"
page_through_summary
wait_for "EXIT=0 TTY=same" 10 || fail "the summary after closing the window did not end with 0"
sleep 0.3
xwininfo -root -tree | grep -q '"Graph window application"' && fail "the window is still there"
tmux kill-session -t "$session"
echo "close: ok"

# Ctrl-C typed in the window ends the program at once, as in the terminal: 130, terminal restored.
start_program "$data_dir" "DISPLAY=$DISPLAY $zorvan2"
start_run
window=$(xwininfo -root -tree | awk '/"Graph window application"/ {print $1; exit}')
[ -n "$window" ] || fail "no window for Ctrl-C"
xdotool windowfocus --sync "$window" 2>/dev/null
xdotool key ctrl+c
wait_for "EXIT=130 TTY=same" 10 || fail "Ctrl-C in the window did not end with 130"
tmux kill-session -t "$session"
echo "ctrl-c: ok"

# The window killed by the display (as xkill does): the terminal is restored first, then a clear
# message, exit code 1.
start_program "$data_dir" "DISPLAY=$DISPLAY $zorvan2"
start_run
keys n
sleep 0.3
window=$(xwininfo -root -tree | awk '/"Graph window application"/ {print $1; exit}')
[ -n "$window" ] || fail "no window to kill"
xdotool windowkill "$window"
wait_for "EXIT=1 TTY=same" 10 || fail "a killed window did not end with 1 and a restored terminal"
joined_screen | grep -qF "[The connection to the display was lost.]" || fail "no message about the display"
[ "$(tmux display -p -t "$session" '#{alternate_on}')" = 0 ] || fail "still on the alternate screen"
[ "$(tmux display -p -t "$session" '#{keypad_flag}')" = 0 ] || fail "keypad left in application mode"
tmux kill-session -t "$session"
echo "killed window: ok"

# A window resized to almost nothing and back shows the run again, and the run goes on.
start_program "$data_dir" "DISPLAY=$DISPLAY $zorvan2"
start_run
window=$(xwininfo -root -tree | awk '/"Graph window application"/ {print $1; exit}')
xdotool windowsize "$window" 1 1
sleep 0.5
keys Enter
xdotool windowsize "$window" 640 480
sleep 0.8
xwd -root -silent | convert xwd:- "$work/resized.png" || fail "no screenshot"
[ "$(convert "$work/resized.png" -format "%[pixel:p{6,240}]" info:)" = "srgb(252,252,252)" ] ||
  fail "the run screen did not come back after the resize"
keys V
sleep 0.3
page_through_summary
wait_for "EXIT=0 TTY=same" 10 || fail "the resized run did not end with 0"
tmux kill-session -t "$session"
echo "resize: ok"

# The display gone in the middle of a run: terminal restored, a clear message, exit code 1.
start_program "$data_dir" "DISPLAY=$DISPLAY $zorvan2"
start_run
keys c
sleep 0.3
stop_xvfb
wait_for "EXIT=1 TTY=same" 10 || fail "a lost display did not end with 1 and a restored terminal"
joined_screen | grep -qF "[The connection to the display was lost.]" || fail "no message about the display"
tmux kill-session -t "$session"
start_xvfb
echo "display gone: ok"

# A zoom of 2 on a 640x480 screen would leave less than 640x480: refused before any page.
start_program "$data_dir" "DISPLAY=$DISPLAY $zorvan2 --zoom 2"
wait_for "EXIT=2 TTY=same" 10 || fail "a zoom too large was not refused with 2"
screen | grep -qF "legfeljebb --zoom 1" || fail "no notice about the zoom"
screen | grep -qF "Lapozhatunk" && fail "a help page came before the notice"
tmux kill-session -t "$session"

# Zoom 2 on a 1920x1080 screen: a 960x540 surface, each pixel shown as a 2x2 block.
start_xvfb 1920x1080
start_program "$data_dir" "DISPLAY=$DISPLAY ZORVAN_ZOOM=2 $zorvan2"
start_run
keys Enter Enter
sleep 0.8
shot="$work/zoom.png"
xwd -root -silent | convert xwd:- "$shot" || fail "no screenshot"
pixel() { convert "$shot" -format "%[pixel:p{$1,$2}]" info:; }
white="srgb(252,252,252)"
# The outer frame's left line is surface columns 5..7: screen columns 10..15.
for x in 10 15; do [ "$(pixel $x 540)" = "$white" ] || fail "frame line missing at x = $x"; done
[ "$(pixel 9 540)" = "srgb(0,0,0)" ] || fail "frame line too wide at x = 9"
[ "$(pixel 16 540)" = "srgb(0,0,0)" ] || fail "frame line too wide at x = 16"
# Sampling every other pixel and doubling again must give the same picture: 2x2 blocks.
convert "$shot" -sample 50% -sample 200% "$work/blocks.png"
difference=$(compare -metric AE "$shot" "$work/blocks.png" null: 2>&1)
[ "$difference" = "0" ] || fail "the zoomed picture is not made of 2x2 blocks ($difference pixels differ)"
keys V
sleep 0.3
page_through_summary
wait_for "EXIT=0 TTY=same" 10 || fail "the zoomed run did not end with 0"
echo "zoom: ok"
