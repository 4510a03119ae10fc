#!/usr/bin/env bash
# Both programs from the prompts to the end of a run, with the window on Xvfb (640x480): the run
# screen while the run waits, then V, the summary pages with the run's figures, the closing line
# and exit code 0.
source "$(dirname "$0")/tmux_lib.sh"
require_env E2E_ZORVAN2 E2E_ZORVAN E2E_DATA_DIR E2E_SHOT_DIR
start_xvfb

run_to_summary() {
  local program=$1 path=E2E_${1^^}
  start_program "$E2E_DATA_DIR" "DISPLAY=$DISPLAY $(quoted "${!path}")"
  wait_for "Lapozhatunk?" || fail "$program: no page prompt"
  page_to_n_prompt
  keys 5 Enter
  wait_for "dobozban? [0-  5]" || fail "$program: no K prompt"
  keys 2 Enter
  sleep 1.5
  for _ in 1 2 3; do keys Enter; sleep 0.2; done
  sleep 0.5

  # While the run waits for a key, the screen shows the run screen.
  shot="$E2E_SHOT_DIR/run_xvfb_shot_$program.png"
  xwd -root -silent | convert xwd:- "$shot" || fail "no screenshot"
  pixel() { convert "$shot" -format "%[pixel:p{$1,$2}]" info:; }
  white="srgb(252,252,252)"
  [ "$(pixel 6 240)" = "$white" ] || fail "$program: outer frame missing at (6, 240): $(pixel 6 240)"
  [ "$(pixel 264 6)" = "srgb(0,0,0)" ] || fail "$program: title box does not cut the frame"
  [ "$(pixel 20 20)" = "$white" ] || fail "$program: box 1's first cell is not white-edged"
  [ "$(pixel 329 300)" = "$white" ] || fail "$program: strip chart frame missing"
  xwininfo -root -tree | grep -q '"Graph window application"' || fail "$program: window title"

  keys V
  # The empty frame and its prompt come first, then the first page with the run's figures.
  sleep 0.5
  wait_for "Lapozhatunk?" 10 || fail "$program: no summary prompt after V"
  keys a
  wait_for "Összesen 3 lépés történt, N = 5 rovarral" 10 || fail "$program: no figures on page 1"
  screen | grep -qF "<@" && fail "$program: a marker left on page 1"
  page_through_summary
  wait_for "EXIT=0 TTY=same" 10 || fail "$program: the summary did not end with exit code 0"
  screen | grep -qF "Itt a vége fuss el véle!!!!" || fail "$program: no closing line"
  tmux kill-session -t "$session"
  echo "run $program: ok"
}

run_to_summary zorvan2
run_to_summary zorvan
