# A virtual X server (Xvfb) for the scripts that open a window. Sourced by the end-to-end tests
# and by bench/run_window_bench.sh.
#
# start_xvfb [SIZE]   starts Xvfb with one screen of SIZE (640x480 unless given, e.g. 1920x1080)
#                     at 24 bits and exports DISPLAY. The server picks a free display number
#                     itself and writes it once it accepts connections (-displayfd), so no number
#                     is guessed and no lock file is read. A second call replaces the first
#                     server. When the server does not come up, the script ends with a message
#                     and exit code 1. The server never resets: by default it resets whenever its
#                     last client leaves, and a client connecting at that moment (a program
#                     opening its window while a script's xwininfo poll disconnects) is dropped
#                     and reports no display.
# stop_xvfb           ends the server started last, if any, and waits for it.
#
# xvfb_pid holds the server's process id while one runs; the caller's exit trap should call
# stop_xvfb.

xvfb_pid=""

stop_xvfb() {
  [ -n "$xvfb_pid" ] || return 0
  kill "$xvfb_pid" 2>/dev/null
  wait "$xvfb_pid" 2>/dev/null
  xvfb_pid=""
}

start_xvfb() {
  local size=${1:-640x480} number_file i
  stop_xvfb
  number_file=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "${size}x24" -nolisten tcp -noreset \
    3>"$number_file" 2>"$number_file.err" &
  xvfb_pid=$!
  for ((i = 0; i < 400; i++)); do
    [ -s "$number_file" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ ! -s "$number_file" ]; then
    echo "FAIL: Xvfb did not start: $(cat "$number_file.err")" >&2
    rm -f "$number_file" "$number_file.err"
    stop_xvfb
    exit 1
  fi
  export DISPLAY=":$(head -n 1 "$number_file")"
  rm -f "$number_file" "$number_file.err"
}
