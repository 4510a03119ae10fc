#!/usr/bin/env bash
# zorvan2 ended by SIGINT, SIGTERM and SIGHUP in each phase (a help page, a prompt, normal and
# quiet running, the summary): exit status 128 + the signal's number, the terminal's settings as
# before, the cursor shown, the alternate screen and the application keypad left, no core file.
# On the way the terminal is resized in each phase: made larger and back, and made smaller than
# 80x25, where the notice asks for a larger one and the screen returns when it grows.
source "$(dirname "$0")/tmux_lib.sh"
require_env E2E_ZORVAN2 E2E_DATA_DIR
zorvan2=$(quoted "$E2E_ZORVAN2")
start_xvfb

# A folder with a help of one page and the shipped summary, so that every phase comes quickly.
run_dir="$work/run"
mkdir -p "$run_dir"
printf 'Egy oldal segitseg.\r\n' > "$run_dir/Zorvan.hlp"
cp "$E2E_DATA_DIR/Zorvan2.sum" "$run_dir/"

pane_value() { tmux display -p -t "$session" "#{$1}"; }
program_pid() { pgrep -P "$(pane_value pane_pid)" -x zorvan2; }

resize_to() {
  tmux resize-window -t "$session" -x "$1" -y "$2" 2>/dev/null ||
    tmux resize-pane -t "$session" -x "$1" -y "$2"
}

# What the screen shows in each phase: the text user sees there.
phase_text() {
  case $1 in
    help|summary) echo "Lapozhatunk?" ;;
    prompt) echo "összesen? [5-140]" ;;
    normal|quiet) echo "dobozban? [0-  5]2" ;;
  esac
}

# Starts zorvan2 and brings it to the phase: help, prompt, normal, quiet or summary.
start_in_phase() {
  local phase=$1
  rm -f "$run_dir"/core*
  start_program "$run_dir" "ulimit -c unlimited 2>/dev/null; DISPLAY=$DISPLAY $zorvan2"
  wait_for "Lapozhatunk?" || fail "$phase: no help page"
  [ "$phase" = help ] && return
  keys a
  wait_for "összesen? [5-140]" || fail "$phase: no N prompt"
  [ "$phase" = prompt ] && return
  keys 5 Enter
  wait_for "dobozban? [0-  5]" || fail "$phase: no K prompt"
  keys 2 Enter
  local i
  for ((i = 0; i < 100; i++)); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Graph window application"' && break
    sleep 0.1
  done
  case $phase in
    normal) keys n ;;
    quiet) keys c ;;
    summary)
      keys V
      wait_for "Lapozhatunk?" || fail "summary: no page prompt after V"
      ;;
  esac
  sleep 0.3
}

# The whole screen is there again: the frame's top and bottom edges and the phase's text.
expect_screen_whole() {
  local what=$1 phase=$2
  wait_for "Szimuláció" 5 || fail "$what: the screen did not come back"
  wait_for "$(phase_text "$phase")" 5 || fail "$what: the phase's text did not come back"
  [ "$(screen | sed -n 24p)" = "$(printf '▓%.0s' $(seq 1 80))" ] || fail "$what: the frame's bottom edge"
}

# Sends the signal to the program and checks how it ended.
signal_and_expect() {
  local signal=$1 code=$2 what=$3 pid
  pid=$(program_pid)
  [ -n "$pid" ] || fail "$what: no program to signal"
  kill -s "$signal" "$pid"
  wait_for "EXIT=$code TTY=same" 10 || fail "$what: did not end with $code and the terminal's settings"
  [ "$(pane_value alternate_on)" = 0 ] || fail "$what: still on the alternate screen"
  [ "$(pane_value cursor_flag)" = 1 ] || fail "$what: the cursor is hidden"
  [ "$(pane_value keypad_flag)" = 0 ] || fail "$what: keypad left in application mode"
  screen | grep -qE "Terminated|Hangup|Interrupt|core dumped" && fail "$what: killed by the signal itself"
  compgen -G "$run_dir/core*" >/dev/null && fail "$what: a core file"
  tmux kill-session -t "$session"
}

for phase in help prompt normal quiet summary; do
  # SIGTERM after the terminal grew and shrank back.
  start_in_phase "$phase"
  resize_to 100 30
  sleep 0.3
  expect_screen_whole "$phase, larger" "$phase"
  resize_to 80 25
  sleep 0.3
  expect_screen_whole "$phase, back to 80x25" "$phase"
  signal_and_expect TERM 143 "SIGTERM at $phase"

  # SIGHUP after the terminal was too small for a while.
  start_in_phase "$phase"
  resize_to 60 20
  wait_for "Kérem, nagyítsa meg a terminált" 5 || fail "$phase: no notice in a small terminal"
  resize_to 80 25
  expect_screen_whole "$phase, grown again" "$phase"
  signal_and_expect HUP 129 "SIGHUP at $phase"

  # SIGINT while the terminal is too small (and the cursor hidden behind the notice).
  start_in_phase "$phase"
  resize_to 60 20
  wait_for "Kérem, nagyítsa meg a terminált" 5 || fail "$phase: no notice in a small terminal"
  signal_and_expect INT 130 "SIGINT at $phase in a small terminal"
  echo "signals at $phase: ok"
done
