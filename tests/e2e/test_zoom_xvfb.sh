#!/usr/bin/env bash
# A school projector's 1366x768: --zoom max and --zoom 1.5 draw on the usable area divided by
# the zoom (the saved picture has the surface's size), the picture fills the window, smoothed,
# and the step number still reads from a screenshot, glyph by glyph; a zoom that would leave
# less than 640x480 is refused before the first page, as a whole one is.
source "$(dirname "$0")/tmux_lib.sh"
require_env E2E_ZORVAN2 E2E_DATA_DIR E2E_READ_STATUS
zorvan2=$(quoted "$E2E_ZORVAN2")
data_dir=$E2E_DATA_DIR
start_xvfb 1366x768

# check_zoom ZOOM WIDTH HEIGHT: a run of three steps at ZOOM on a surface of WIDTH x HEIGHT.
check_zoom() {
  local zoom=$1 width=$2 height=$3 saved="$work/saved-$1" geometry window_w window_h
  mkdir -p "$saved"
  start_program "$data_dir" \
    "DISPLAY=$DISPLAY $zorvan2 --zoom $zoom --n 5 --k 2 --no-help --save $(quoted "$saved")"
  for ((i = 0; i < 100; i++)); do
    xwininfo -name "Graph window application" >/dev/null 2>&1 && break
    sleep 0.1
  done
  sleep 1
  keys a a a
  sleep 1
  geometry=$(xwininfo -name "Graph window application") || fail "no window at --zoom $zoom"
  window_w=$(awk '/^  Width:/ {print $2}' <<<"$geometry")
  window_h=$(awk '/^  Height:/ {print $2}' <<<"$geometry")
  [ "$window_w" -ge 1364 ] && [ "$window_h" -ge 767 ] ||
    fail "the window at --zoom $zoom is ${window_w}x$window_h, not the screen"
  xwd -root -silent | convert xwd:- "$work/zoom-$zoom.png" || fail "no screenshot"
  cp "$work/zoom-$zoom.png" "${E2E_SHOT_DIR:-$work}/zoom-$zoom.png" 2>/dev/null
  # The picture fills the window with its proportions kept, centred.
  local place
  place=$(awk -v w="$width" -v h="$height" -v ww="$window_w" -v wh="$window_h" 'BEGIN {
    if (ww * h <= wh * w) { pw = ww; ph = int(ww * h / w) } else { ph = wh; pw = int(wh * w / h) }
    print int((ww - pw) / 2), int((wh - ph) / 2), pw, ph }')
  local steps
  steps=$(convert "$work/zoom-$zoom.png" ppm:- | "$E2E_READ_STATUS" "$width" "$height" $place) ||
    fail "no step number read at --zoom $zoom"
  [ "$steps" = 3 ] || fail "the step number read at --zoom $zoom is $steps, not 3"
  keys V
  sleep 0.3
  page_through_summary
  wait_for "EXIT=0 TTY=same" 10 || fail "the run at --zoom $zoom did not end with 0"
  [ "$(identify -format %wx%h "$saved"/zorvan2_N5_K2_seed0_T3.png)" = "${width}x$height" ] ||
    fail "the surface at --zoom $zoom is not ${width}x$height"
  tmux kill-session -t "$session"
  echo "zoom $zoom: ok"
}

check_zoom max 853 480
check_zoom 1.5 910 512

# 768 / 1.7 leaves 451 rows: refused, naming the largest zoom that fits.
start_program "$data_dir" "DISPLAY=$DISPLAY ZORVAN_ZOOM=1.7 $zorvan2"
wait_for "EXIT=2 TTY=same" 10 || fail "a fractional zoom too large was not refused with 2"
joined_screen | grep -qF "legfeljebb --zoom 1.6 " || fail "no notice naming --zoom 1.6"
screen | grep -qF "Lapozhatunk" && fail "a help page came before the notice"
tmux kill-session -t "$session"
echo "zoom too large: ok"
