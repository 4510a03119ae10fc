#!/usr/bin/env bash
# The Debian package as a teacher installs it: `cpack -G DEB` from the build folder, installed
# with apt, zorvan2 started from the PATH to its first help page, both desktop entries valid and
# run without a terminal, the entry's command started with no terminal (as the menu starts it)
# showing the first help page in its window, the icon in place, and removal leaves none of the
# package's files behind. Installing needs
# root (as CI runs); otherwise the test says so and is skipped (exit code 77).
source "$(dirname "$0")/tmux_lib.sh"
source "$(dirname "$0")/console_window_lib.sh"
require_env E2E_BUILD_DIR E2E_SCRIPT_RUN E2E_CONSOLE_SHOT E2E_DATA_DIR
if [ "$(id -u)" -ne 0 ]; then
  echo "SKIP: installing a package needs root"
  exit 77
fi
for tool in cpack apt-get dpkg-shlibdeps desktop-file-validate; do
  command -v "$tool" >/dev/null || fail "$tool is missing (tools/setup.sh installs it)"
done
if dpkg-query -W -f='${Status}' zorvan 2>/dev/null | grep -q "install ok installed"; then
  echo "SKIP: a zorvan package is installed already; this test does not replace it"
  exit 77
fi

run_logged() {
  "$@" >"$work/step.log" 2>&1 || { cat "$work/step.log" >&2; fail "$* failed"; }
}

run_logged cpack -G DEB -B "$work/package" --config "$E2E_BUILD_DIR/CPackConfig.cmake"
debs=("$work"/package/zorvan_*_amd64.deb)
[ -f "${debs[0]}" ] || fail "no zorvan_<version>_amd64.deb"
# Every dependency the package names must be one Debian has: apt resolves them all here.
run_logged env DEBIAN_FRONTEND=noninteractive apt-get install -y "${debs[0]}"
trap 'apt-get remove -y zorvan >/dev/null 2>&1; cleanup' EXIT
mapfile -t owned < <(dpkg-query -L zorvan)
files=()
for path in "${owned[@]}"; do [ -f "$path" ] && files+=("$path"); done

[ "$(command -v zorvan2)" = /usr/bin/zorvan2 ] || fail "zorvan2 is not on the PATH"
[ -x /usr/libexec/zorvan/zorvan2 ] && [ -x /usr/libexec/zorvan/zorvan ] || fail "no programs"
[ -f /usr/share/zorvan/Zorvan.hlp ] && [ -f /usr/share/doc/zorvan/README.md ] ||
  fail "no data or documentation"
[ "$(identify -format %wx%h /usr/share/icons/hicolor/128x128/apps/zorvan.png)" = 128x128 ] ||
  fail "no 128x128 icon"
for entry in zorvan2 zorvan; do
  desktop=/usr/share/applications/$entry.desktop
  run_logged desktop-file-validate "$desktop"
  grep -qx "Exec=$entry" "$desktop" && grep -qx "Terminal=false" "$desktop" ||
    fail "$desktop does not start $entry without a terminal"
done

start_xvfb
start_program "$work" "DISPLAY=$DISPLAY zorvan2"
wait_for "1. A KÉTDOBOZOS URNAMODELL" 15 || fail "the installed zorvan2 shows no help page"
keys C-c
wait_for "EXIT=130 TTY=same" || fail "the installed zorvan2 did not end with 130 on Ctrl-C"
tmux kill-session -t "$session"

# The menu's way: the entry's command with no terminal, from the home folder.
expected_screens menu zorvan2 "check help1"
exec_line=$(sed -n 's/^Exec=//p' /usr/share/applications/zorvan2.desktop)
start_windowed "$work" sh -c "$exec_line"
wait_for_window
expect_screen "$work/menu/help1" 15
"$E2E_CLOSE_WINDOW" "$window_id"
wait_for_status 129

run_logged env DEBIAN_FRONTEND=noninteractive apt-get remove -y zorvan
trap cleanup EXIT
for path in "${files[@]}"; do
  [ ! -e "$path" ] || fail "$path is left after the removal"
done
for folder in /usr/share/zorvan /usr/libexec/zorvan /usr/share/doc/zorvan; do
  [ ! -e "$folder" ] || fail "$folder is left after the removal"
done
echo "package: ok"
