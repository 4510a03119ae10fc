# Helpers for driving a built program in an 80x25 tmux session. Sourced by the e2e tests.
#
# start_program DIR COMMAND   starts COMMAND in DIR inside a detached 80x25 session; when it
#                             ends, the pane shows "EXIT=<code> TTY=<same|changed>", where TTY
#                             tells whether the terminal settings are what they were before.
# screen                      prints the pane as text (UTF-8)
# wait_for TEXT [SECONDS]     waits until the pane shows TEXT
# keys KEY...                 tmux send-keys
set -u

session="zorvan-e2e-$$"
work=$(mktemp -d)
xvfb_pid=""

cleanup() {
  tmux kill-session -t "$session" 2>/dev/null
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  echo "--- screen:" >&2
  screen >&2
  exit 1
}

start_program() {
  local dir=$1 command=$2
  # The programs speak the locale's language: Hungarian here, unless COMMAND sets another.
  cat > "$work/wrapper.sh" <<WRAP
cd "$dir"
unset LANGUAGE LC_ALL LC_MESSAGES; export LANG=C.UTF-8
before=\$(stty -g)
$command
code=\$?
after=\$(stty -g)
[ "\$before" = "\$after" ] && same=same || same=changed
echo "EXIT=\$code TTY=\$same"
sleep 600
WRAP
  tmux -f /dev/null new-session -d -s "$session" -x 80 -y 25 "bash $work/wrapper.sh"
}

screen() { tmux capture-pane -p -t "$session" 2>/dev/null; }
# The pane with lines that the terminal wrapped joined again.
joined_screen() { tmux capture-pane -p -J -t "$session" 2>/dev/null; }

wait_for() {
  local text=$1 seconds=${2:-10} i
  for ((i = 0; i < seconds * 20; i++)); do
    screen | grep -qF -- "$text" && return 0
    sleep 0.05
  done
  return 1
}

keys() { tmux send-keys -t "$session" "$@"; }

# Starts Xvfb on a free display, 640x480 unless a size is given (e.g. 1920x1080), and exports
# DISPLAY. A second call replaces the first server.
start_xvfb() {
  local number size=${1:-640x480}
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
  for number in $(seq 90 140); do
    [ -e "/tmp/.X11-unix/X$number" ] || [ -e "/tmp/.X$number-lock" ] && continue
    Xvfb ":$number" -screen 0 "${size}x24" -nolisten tcp >/dev/null 2>&1 &
    xvfb_pid=$!
    export DISPLAY=":$number"
    for _ in $(seq 1 100); do
      xdpyinfo >/dev/null 2>&1 && return 0
      sleep 0.05
    done
  done
  echo "FAIL: Xvfb did not start" >&2
  exit 1
}

# Turns the summary's pages until the program has ended and the wrapper shows its exit line.
page_through_summary() {
  local i
  for ((i = 0; i < 8; i++)); do
    screen | grep -qF "EXIT=" && return 0
    keys a
    sleep 0.4
  done
}

# Pages through the help until the N prompt shows.
page_to_n_prompt() {
  local i
  for ((i = 0; i < 30; i++)); do
    screen | grep -qF "összesen? [5-140]" && return 0
    keys a
    sleep 0.25
  done
  fail "the N prompt never came"
}
