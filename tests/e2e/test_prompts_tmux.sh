#!/usr/bin/env bash
# zorvan2 in an 80x25 terminal: the help pages, the two prompts, and the ways the text part ends.
source "$(dirname "$0")/tmux_lib.sh"
require_env E2E_ZORVAN2 E2E_ZORVAN E2E_DATA_DIR
zorvan2=$(quoted "$E2E_ZORVAN2")
data_dir=$E2E_DATA_DIR
start_xvfb  # the programs make sure of a display before their first page

# The first help page: frame, bright title, Hungarian letters and the page prompt.
start_program "$data_dir" "$zorvan2"
wait_for "Lapozhatunk?" || fail "no page prompt"
first=$(screen)
[ "$(echo "$first" | sed -n 1p)" = "▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓ Szimuláció ▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓▓" ] ||
  fail "the frame's top edge with the title is wrong"
[ "$(echo "$first" | sed -n 24p)" = "$(printf '▓%.0s' $(seq 1 80))" ] || fail "bottom edge"
echo "$first" | sed -n 25p | grep -qE '^ {34}Lapozhatunk\?[\\|/-]$' || fail "page prompt line"
echo "$first" | grep -q "KÉTDOBOZOS" || fail "help text with Hungarian letters"

# Paging through, then the N prompt; out-of-range answers bring it back.
page_to_n_prompt
keys 4 Enter
sleep 0.3
keys 141 Enter
wait_for "[5-140]141" || fail "no echo of 141"
sleep 0.3
[ "$(screen | grep -c 'összesen? \[5-140\]')" -eq 3 ] || fail "the N prompt did not repeat"
keys 5 Enter
wait_for "dobozban? [0-  5]" || fail "the K prompt for N = 5"

# Text that is not a number ends the program with 106 and a restored terminal.
keys abc Enter
wait_for "EXIT=106 TTY=same" || fail "abc did not end with 106 and a restored terminal"
screen | grep -q "Runtime error 106" || fail "no run-time error message"
[ "$(tmux display -p -t "$session" '#{alternate_on}')" = 0 ] || fail "still on the alternate screen"
tmux kill-session -t "$session"

# The terminal's keypad is in application mode while the program runs: keypad / is an extended
# key, which the number prompt ignores (it used to type a '/'), and keypad Enter ends the line.
start_program "$data_dir" "$zorvan2"
wait_for "Lapozhatunk?" || fail "no page prompt"
[ "$(tmux display -p -t "$session" '#{keypad_flag}')" = 1 ] || fail "keypad not in application mode"
page_to_n_prompt
keys 1 KP/ 0 KPEnter
wait_for "dobozban? [0- 10]" || fail "keypad / or keypad Enter at the N prompt"
keys C-c
wait_for "EXIT=130 TTY=same" || fail "Ctrl-C at the K prompt"
[ "$(tmux display -p -t "$session" '#{keypad_flag}')" = 0 ] || fail "keypad left in application mode"
tmux kill-session -t "$session"

# Ctrl-C ends at once with 130, terminal restored.
start_program "$data_dir" "$zorvan2"
wait_for "Lapozhatunk?" || fail "no page prompt"
keys C-c
wait_for "EXIT=130 TTY=same" || fail "Ctrl-C did not end with 130 and a restored terminal"
tmux kill-session -t "$session"

# A terminal smaller than 80x25 is told to grow, and the screen comes back when it does.
start_program "$data_dir" "$zorvan2"
wait_for "Lapozhatunk?" || fail "no page prompt"
tmux resize-window -t "$session" -x 60 -y 20 2>/dev/null || tmux resize-pane -t "$session" -x 60 -y 20
sleep 0.5
screen | grep -qi "80x25" || fail "no notice in a small terminal"
tmux resize-window -t "$session" -x 80 -y 25 2>/dev/null || tmux resize-pane -t "$session" -x 80 -y 25
sleep 0.5
wait_for "Szimuláció" || fail "the screen did not come back after the resize"
keys C-c
tmux kill-session -t "$session"

# Keys from a pipe: run where no help file is, so the missing-file message and its one page
# prompt take the x; the prompts read the numbers, the run ends at the end of input as with V,
# and the summary's prompts turn by themselves: exit code 0.
mkdir -p "$work/empty"
printf 'x5\n2\n' > "$work/answers"
start_program "$work/empty" "$zorvan2 < $work/answers"
wait_for "EXIT=0 " 30 || fail "piped input did not end with 0"
screen | grep -qF "Itt a vége fuss el véle!!!!" || fail "no closing line after piped input"
tmux kill-session -t "$session"

# With no display the programs say so before their first page, and end with 1.
for program in zorvan2 zorvan; do
  path=E2E_${program^^}
  start_program "$data_dir" "env -u DISPLAY -u WAYLAND_DISPLAY $(quoted "${!path}")"
  wait_for "EXIT=1 TTY=same" 10 || fail "$program without a display did not end with 1"
  screen | grep -qF "Nincs grafikus kijelző" || fail "$program: no notice about the display"
  joined_screen | grep -qF "[No display: " || fail "$program: no English words in brackets"
  screen | grep -qF "Lapozhatunk" && fail "$program: a help page came before the notice"
  screen | grep -qiE "XDG_RUNTIME_DIR|SDL" && fail "$program: the library's noise reached the screen"
  tmux kill-session -t "$session"
done
echo "prompts: ok"
