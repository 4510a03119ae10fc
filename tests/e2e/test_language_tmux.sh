#!/usr/bin/env bash
# The language on the desktop: the locale variables and --lang choose it before anything is
# shown, the plain C locale gives Hungarian, and a --lang without a catalogue ends the program
# with exit code 2 and the languages there are, said in the locale's language.
source "$(dirname "$0")/tmux_lib.sh"
require_env E2E_ZORVAN2 E2E_ZORVAN E2E_DATA_DIR
zorvan2=$(quoted "$E2E_ZORVAN2")
zorvan=$(quoted "$E2E_ZORVAN")
data_dir=$E2E_DATA_DIR
start_xvfb  # the programs make sure of a display before their first page

# English from the locale: the frame, the page prompt and the help.
start_program "$data_dir" "LANG=en_GB.UTF-8 $zorvan2"
wait_for "Next page?" || fail "no English page prompt under LANG=en_GB.UTF-8"
screen | grep -qF "▓ Simulation ▓" || fail "no English frame title"
screen | grep -qF "1. THE TWO-BOX URN MODEL" || fail "no English help page"
tmux kill-session -t "$session"

# German from the locale and from --lang, for both programs.
for command in "LANG=de_DE.UTF-8 $zorvan2" "LANG=en_GB.UTF-8 $zorvan --lang de"; do
  start_program "$data_dir" "$command"
  wait_for "Weiterblättern?" || fail "$command: no German page prompt"
  screen | grep -qF "1. DAS URNENMODELL MIT ZWEI KÄSTEN" || fail "$command: no German help page"
  tmux kill-session -t "$session"
done

# --lang wins over the locale; LANGUAGE is not looked at under the plain C locale.
for command in "LANG=en_US.UTF-8 $zorvan --lang hu" "LC_ALL=C LANGUAGE=en $zorvan2"; do
  start_program "$data_dir" "$command"
  wait_for "Lapozhatunk?" || fail "$command: not Hungarian"
  tmux kill-session -t "$session"
done

start_program "$data_dir" "LANG=en_GB.UTF-8 $zorvan2 --lang xx"
wait_for "EXIT=2 TTY=same" || fail "--lang xx did not end with exit code 2"
joined_screen | grep -qF "no catalogue for this language: --lang xx. The languages are hu, de, en." ||
  fail "no notice naming the languages"
