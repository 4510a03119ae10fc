#!/usr/bin/env bash
# zorvan2 started with no terminal (standard input from /dev/null, a session of its own), as from
# the desktop's menu, on virtual X servers of 1366x768 and 1920x1080 with no window manager: one
# window shows the help pages, the prompts (a refused answer, then N and K, with an editing key),
# the run, the summary and the closing line, driven by keys sent to the window, and the console's
# pixels in each screenshot are the core's console picture of the screen that script_run
# (the same program on the headless host, fed the same keys) shows at that point. A key after
# the closing line ends the program with exit code 0. At 1366x768 also: closing the window at a
# help page ends the program as closing its terminal would (129), Ctrl-C in the window with 130,
# and --window from a terminal uses the window too. The last screenshots are kept in
# E2E_SHOT_DIR as window_mode_<size>.png for a look by eye.
source "$(dirname "$0")/tmux_lib.sh"
source "$(dirname "$0")/console_window_lib.sh"
require_env E2E_ZORVAN2 E2E_DATA_DIR E2E_SCRIPT_RUN E2E_CONSOLE_SHOT E2E_CLOSE_WINDOW
for tool in Xvfb xdotool import convert setsid; do
  command -v "$tool" >/dev/null || fail "$tool is missing (tools/setup.sh installs it)"
done

# Pages of a data file: its lines (a last line without its end counts) in pages of $2 lines.
pages_of() {
  local lines
  lines=$(awk 'END { print NR }' "$1")
  echo $(((lines + $2 - 1) / $2))
}
help_pages=$(pages_of "$E2E_DATA_DIR/Zorvan.hlp" 18)
summary_pages=$(pages_of "$E2E_DATA_DIR/Zorvan2.sum" 19)

repeat() { local i; for ((i = 0; i < $2; i++)); do echo "$1"; done; }
script=$(
  echo "check help1"
  repeat "key c 32" "$help_pages"
  printf 'key c %s\n' 51 13 50 48 13 49 55 8 48  # 3 (refused), 20, then 17, Backspace, 0
  echo "check prompts"
  echo "key c 13"
  repeat "key c 108" 5  # five steps
  echo "check run"
  echo "key c 86"       # V
  echo "check summary"
  repeat "key c 32" "$summary_pages"
  echo "key c 32"
  echo "check closing")
expected_screens zorvan2 zorvan2 "$script"

for size in 1366x768 1920x1080; do
  start_xvfb "$size"
  start_windowed "$E2E_DATA_DIR" "$E2E_ZORVAN2"
  wait_for_window
  [ "$(xwininfo -id "$window_id" | awk '/Width:/ { w = $2 } /Height:/ { h = $2 } END { print w "x" h }')" = "$size" ] ||
    fail "the window does not cover the $size screen"
  expect_screen "$work/zorvan2/help1"
  send $(repeat space "$help_pages")
  send 3 Return 2 0 Return 1 7 BackSpace 0
  expect_screen "$work/zorvan2/prompts"
  send Return l l l l l
  for ((i = 0; i < 50; i++)); do
    import -window "$window_id" "$work/run.png" 2>/dev/null
    [ "$(convert "$work/run.png" -format %c histogram:info:- | wc -l)" -gt 3 ] && break
    sleep 0.2
  done
  send v
  expect_screen "$work/zorvan2/summary"
  send $(repeat space "$summary_pages") space
  expect_screen "$work/zorvan2/closing"
  convert "$work/shot.ppm" "${E2E_SHOT_DIR:-$work}/window_mode_$size.png"
  send space
  wait_for_status 0
done

# Closing the window at a help page, and Ctrl-C typed into it.
start_xvfb 1366x768
start_windowed "$E2E_DATA_DIR" "$E2E_ZORVAN2"
wait_for_window
expect_screen "$work/zorvan2/help1"
"$E2E_CLOSE_WINDOW" "$window_id"
wait_for_status 129
start_windowed "$E2E_DATA_DIR" "$E2E_ZORVAN2"
wait_for_window
expect_screen "$work/zorvan2/help1"
send ctrl+c
wait_for_status 130

# --window from a terminal: the terminal is left alone, the window shows the console. (A fresh
# server: the Ctrl-C above ended the program before its release reached a window, and the
# server would hold the keys down for the next window.)
start_xvfb 1366x768
rm -f "$work/windowed.status"
start_program "$E2E_DATA_DIR" "DISPLAY=$DISPLAY LANG=C $(quoted "$E2E_ZORVAN2") --window"
wait_for_window
expect_screen "$work/zorvan2/help1"
screen | grep -q "Szimul" && fail "--window drew the console in the terminal too"
send ctrl+c
wait_for "EXIT=130 TTY=same" || fail "--window: Ctrl-C did not end the program with 130"
echo "window mode: ok"
