# Helpers for the scripts that run a program with no terminal, its text screens in its own window
# (as when it is started from the desktop's menu). Sourced after tmux_lib.sh, which gives
# $work, fail and start_xvfb.
#
# expected_screens NAME PROGRAM SCRIPT   runs PROGRAM (zorvan2 or zorvan) in script_run with the
#                                        key SCRIPT (script_run's format, checkpoints included)
#                                        and keeps the checkpoints in $work/NAME/ (the program
#                                        may end as the script ends)
# start_windowed DIR COMMAND...          starts COMMAND in DIR in a session of its own with no
#                                        terminal (standard input /dev/null, output to files) and
#                                        the Hungarian default; its exit code goes to
#                                        $work/windowed.status when it ends
# wait_for_window [SECONDS]              waits for the program's window; sets window_id
# expect_screen CHECKPOINT [SECONDS]     waits until the window shows the console picture of
#                                        CHECKPOINT ($work/NAME/checkpoint, without extension),
#                                        as console_shot compares them; keeps the last screenshot
#                                        as $work/shot.png
# send KEY...                            xdotool key to the window, one after another (a key
#                                        that ends the program leaves its release without a
#                                        window: the X error that xdotool then prints is dropped)
# wait_for_status CODE [SECONDS]         waits for the windowed program to end with CODE
#
# The paths come from ctest: E2E_SCRIPT_RUN, E2E_CONSOLE_SHOT, E2E_DATA_DIR.

window_id=""

expected_screens() {
  local name=$1 program=$2 script=$3
  mkdir -p "$work/$name"
  printf '%s\n' "$script" >"$work/$name.script"
  # The program may end as the script ends (input ends at a prompt): its checkpoints count.
  "$E2E_SCRIPT_RUN" "$program" 640 480 "$E2E_DATA_DIR" "$work/$name.script" "$work/$name" \
    >"$work/$name.log" 2>&1
  local checkpoint
  for checkpoint in $(sed -n 's/^check //p' "$work/$name.script"); do
    [ -f "$work/$name/$checkpoint.console" ] ||
      { cat "$work/$name.log" >&2; fail "script_run $program wrote no $checkpoint"; }
  done
}

start_windowed() {
  local dir=$1
  shift
  rm -f "$work/windowed.status"
  (cd "$dir" && env -u LANGUAGE -u LC_ALL -u LC_MESSAGES LANG=C setsid -w "$@" \
     </dev/null >"$work/windowed.out" 2>"$work/windowed.err"
   echo $? >"$work/windowed.status") &
}

wait_for_window() {
  local seconds=${1:-20} i
  window_id=""
  for ((i = 0; i < seconds * 10; i++)); do
    window_id=$(xdotool search --name "Graph window application" 2>/dev/null | head -n 1)
    [ -n "$window_id" ] && return 0
    [ -f "$work/windowed.status" ] && break
    sleep 0.1
  done
  cat "$work/windowed.err" >&2 2>/dev/null
  fail "no window appeared"
}

expect_screen() {
  local checkpoint=$1 seconds=${2:-10} i verdict=""
  for ((i = 0; i < seconds * 5; i++)); do
    if import -window "$window_id" -depth 8 "ppm:$work/shot.ppm" 2>/dev/null; then
      verdict=$("$E2E_CONSOLE_SHOT" "$checkpoint" "$work/shot.ppm" 2>&1) && return 0
    fi
    sleep 0.2
  done
  convert "$work/shot.ppm" "$work/shot.png" 2>/dev/null
  cp "$work/shot.png" "${E2E_SHOT_DIR:-$work}/window_mode_failed.png" 2>/dev/null
  fail "the window does not show $(basename "$checkpoint"): $verdict"
}

send() {
  local key
  for key in "$@"; do xdotool key --window "$window_id" "$key" 2>/dev/null; done
}

wait_for_status() {
  local code=$1 seconds=${2:-10} i
  for ((i = 0; i < seconds * 10; i++)); do
    [ -f "$work/windowed.status" ] && break
    sleep 0.1
  done
  [ -f "$work/windowed.status" ] || fail "the program did not end (expected exit code $code)"
  [ "$(cat "$work/windowed.status")" = "$code" ] ||
    fail "exit code $(cat "$work/windowed.status"), expected $code: $(cat "$work/windowed.err")"
}
