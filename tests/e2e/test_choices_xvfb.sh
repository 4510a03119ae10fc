#!/usr/bin/env bash
# Rehearsing a lesson: --n, --k and --no-help start the run at once with those answers; an answer
# out of range, --k without --n, a bad seed or a --save folder that is not there are told before
# anything is shown, with exit code 2 and the terminal untouched.
source "$(dirname "$0")/tmux_lib.sh"
require_env E2E_ZORVAN2 E2E_DATA_DIR
zorvan2=$(quoted "$E2E_ZORVAN2")
data_dir=$E2E_DATA_DIR
start_xvfb

start_program "$data_dir" "DISPLAY=$DISPLAY $zorvan2 --n 7 --k 3 --no-help --seed 12"
for ((i = 0; i < 200; i++)); do
  xwininfo -name "Graph window application" >/dev/null 2>&1 && break
  sleep 0.1
done
xwininfo -name "Graph window application" >/dev/null 2>&1 || fail "the run did not start at once"
screen | grep -qF "Lapozhatunk" && fail "a help page was shown"
screen | grep -qF "összesen?" && fail "the N prompt was shown"
keys V
page_through_summary
wait_for "EXIT=0 TTY=same" 10 || fail "the run with its answers given did not end with 0"
tmux kill-session -t "$session"
echo "answers in advance: ok"

refused() {
  local arguments=$1 message=$2
  start_program "$data_dir" "DISPLAY=$DISPLAY $zorvan2 $arguments"
  wait_for "EXIT=2 TTY=same" 10 || fail "$arguments was not refused with 2"
  joined_screen | grep -qF -- "$message" || fail "$arguments: no message \"$message\""
  screen | grep -qF "▓" && fail "$arguments: the text frame was drawn"
  tmux kill-session -t "$session"
}
refused "--n 4" "[--n must be a whole number from 5 to 140.]"
refused "--n 20 --k 21" "[--k must be a whole number from 0 to 20.]"
refused "--k 3" "[--k needs --n.]"
refused "--seed 4294967296" "\"--seed 4294967296\""
refused "--save $(quoted "$work/nowhere")" "[No such folder.]"
echo "refused: ok"
