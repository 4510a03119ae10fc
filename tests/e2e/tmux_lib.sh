# Helpers for driving a built program in an 80x25 tmux session. Sourced by the e2e tests.
#
# start_program DIR COMMAND   starts COMMAND in DIR inside a detached 80x25 session; when it
#                             ends, the pane shows "EXIT=<code> TTY=<same|changed>", where TTY
#                             tells whether the terminal settings are what they were before.
# screen                      prints the pane as text (UTF-8)
# wait_for TEXT [SECONDS]     waits until the pane shows TEXT
# keys KEY...                 tmux send-keys
# start_xvfb [SIZE]           a virtual X server, DISPLAY exported (xvfb_lib.sh)
#
# The programs' paths come from tests/CMakeLists.txt in the environment: E2E_ZORVAN2 and
# E2E_ZORVAN (the programs), E2E_DATA_DIR (the build's folder that holds the copies of the data
# files, which the programs read from the current directory), and for some scripts E2E_BUILD_DIR,
# E2E_CLOSE_WINDOW and E2E_SHOT_DIR (where screenshots are kept for a look by eye). A script
# names those it needs with require_env; quoted gives a path quoted for a COMMAND.
#
# Every script talks to a tmux server of its own, on a socket in its temporary folder, so that the
# programs run with the script's environment (the sanitizers' options among it) and scripts
# running at the same time never share a server.
set -u
source "$(dirname "${BASH_SOURCE[0]}")/xvfb_lib.sh"

session="zorvan-e2e-$$"
work=$(mktemp -d)

tmux() { command tmux -S "$work/tmux.socket" -f /dev/null "$@"; }

cleanup() {
  tmux kill-server 2>/dev/null
  stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT

# Ends the script with a message unless every environment variable named is set.
require_env() {
  local name
  for name in "$@"; do
    [ -n "${!name:-}" ] && continue
    echo "FAIL: $name is not set (ctest sets it, from tests/CMakeLists.txt)" >&2
    exit 1
  done
}

# Prints $1 quoted for a shell command.
quoted() { printf '%q' "$1"; }

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
  # A session killed just before was the server's last: the server is still on its way out
  # and may refuse the new session ("server exited unexpectedly"), so ask again.
  local i
  for ((i = 0; i < 50; i++)); do
    tmux new-session -d -s "$session" -x 80 -y 25 "bash $work/wrapper.sh" 2>"$work/tmux.err" &&
      return 0
    sleep 0.1
  done
  cat "$work/tmux.err" >&2
  fail "tmux did not start the program's session"
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

# Turns the summary's pages until the program has ended and the wrapper shows its exit line.
page_through_summary() {
  local i
  for ((i = 0; i < 8; i++)); do
    screen | grep -qF "EXIT=" && return 0
    keys a
    sleep 0.4
  done
}

# The pane without the page prompt's spinner (the last character of the bottom line).
still_screen() { screen | sed '$ s/[-\\|/]$//'; }

# Waits until the pane differs from $1 and then stays the same for 0.3 s; at most 10 s.
wait_for_new_screen() {
  local before=$1 last="" now i steady=0
  for ((i = 0; i < 100; i++)); do
    now=$(still_screen)
    if [ "$now" != "$before" ] && [ "$now" = "$last" ]; then
      ((++steady >= 3)) && return 0
    else
      steady=0
    fi
    last=$now
    sleep 0.1
  done
  return 1
}

# Pages through the help until the N prompt shows. Each key waits for the page that the one
# before it turned to be drawn whole, so that none is left over for the prompt however slowly
# the program draws (a sanitizer build on a busy machine).
page_to_n_prompt() {
  local i shown
  for ((i = 0; i < 30; i++)); do
    screen | grep -qF "összesen? [5-140]" && return 0
    shown=$(still_screen)
    keys a
    wait_for_new_screen "$shown"
  done
  fail "the N prompt never came"
}
