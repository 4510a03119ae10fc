#!/usr/bin/env bash
# The installed programs: the layout `cmake --install` makes, and the launchers in bin/, which
# start a program in its data folder from any folder and pass its exit code through.
source "$(dirname "$0")/tmux_lib.sh"
require_env E2E_BUILD_DIR E2E_ZORVAN2
build_dir=$E2E_BUILD_DIR
source_dir=$(cd "$(dirname "$0")/../.." && pwd)
unset WAYLAND_DISPLAY DESTDIR
start_xvfb  # the programs make sure of a display before their first page

first_help_line="1. A KÉTDOBOZOS URNAMODELL"
programs=(zorvan2)
[ -n "${E2E_ZORVAN:-}" ] && programs+=(zorvan)

install_into() {
  local log=$work/install.log
  if ! "$@" >"$log" 2>&1; then
    cat "$log" >&2
    echo "FAIL: $* failed" >&2
    exit 1
  fi
}

# Waits for the first help page of the program started in the session and checks it is the
# text of the installed help file, then ends the program with Ctrl-C, which must come out of the
# launcher as the program's own exit code 130.
expect_help_then_ctrl_c() {
  local what=$1
  wait_for "$first_help_line" || fail "$what: the first help page does not show the help text"
  ! screen | grep -qF "Nincs meg" || fail "$what: a missing-file message"
  keys C-c
  wait_for "EXIT=130 TTY=same" || fail "$what: Ctrl-C did not end with 130 and a restored terminal"
  tmux kill-session -t "$session"
}

# --- The layout, into a prefix whose path has a space in it.
prefix="$work/installed tree/usr"
install_into cmake --install "$build_dir" --prefix "$prefix"

expected=()
for program in "${programs[@]}"; do
  expected+=("bin/$program" "libexec/zorvan/$program" "share/applications/$program.desktop")
done
while IFS= read -r file; do
  expected+=("share/zorvan/$file")
done < <(cd "$source_dir/data" && find . -type f | sed 's|^\./||')
expected+=(share/doc/zorvan/README.md share/doc/zorvan/LICENSE share/doc/zorvan/TERMINUS-OFL.txt
  share/icons/hicolor/128x128/apps/zorvan.png)
want=$(printf '%s\n' "${expected[@]}" | sort)
got=$(cd "$prefix" && find . ! -type d | sed 's|^\./||' | sort)
if [ "$want" != "$got" ]; then
  diff <(echo "$want") <(echo "$got") >&2
  echo "FAIL: the installed files are not exactly the programs, launchers, data, docs, desktop \
entries and icon" >&2
  exit 1
fi

for program in "${programs[@]}"; do
  launcher=$prefix/bin/$program
  real=$prefix/libexec/zorvan/$program
  [ -x "$launcher" ] || { echo "FAIL: $launcher is not executable" >&2; exit 1; }
  [ "$(head -c 9 "$launcher")" = "#!/bin/sh" ] || { echo "FAIL: $launcher is not a launcher" >&2; exit 1; }
  [ -x "$real" ] || { echo "FAIL: $real is not executable" >&2; exit 1; }
  [ "$(head -c 4 "$real" | tail -c 3)" = "ELF" ] || { echo "FAIL: $real is not a program" >&2; exit 1; }
done
while IFS= read -r file; do
  cmp -s "$source_dir/data/$file" "$prefix/share/zorvan/$file" ||
    { echo "FAIL: share/zorvan/$file differs from data/$file" >&2; exit 1; }
done < <(cd "$source_dir/data" && find . -type f | sed 's|^\./||')

# --- Started through PATH from a folder with no data files and a space in its name.
elsewhere="$work/some other folder"
mkdir -p "$elsewhere"
for program in "${programs[@]}"; do
  start_program "$elsewhere" "PATH=\"$prefix/bin:\$PATH\" $program"
  expect_help_then_ctrl_c "$program through PATH"
done

# An exit code of the program's own: text that is not a number at the N prompt ends with 106.
start_program "$elsewhere" "PATH=\"$prefix/bin:\$PATH\" zorvan2"
wait_for "$first_help_line" || fail "zorvan2: no help text"
page_to_n_prompt
keys 5 Enter
wait_for "dobozban? [0-  5]" || fail "no K prompt"
keys abc Enter
wait_for "EXIT=106 TTY=same" || fail "the launcher did not pass exit code 106 through"
tmux kill-session -t "$session"

# --- Through a relative symbolic link to the launcher, started by a relative path.
mkdir -p "$work/links"
ln -s "../installed tree/usr/bin/zorvan2" "$work/links/z2"
start_program "$elsewhere" "../links/z2"
expect_help_then_ctrl_c "a symbolic link to the launcher"

# --- Staged under DESTDIR, then moved: the tree works wherever it ends up, and the staging
# wrote nothing at the prefix itself.
install_into env DESTDIR="$work/stage" cmake --install "$build_dir" --prefix "$work/never"
[ ! -e "$work/never" ] || { echo "FAIL: DESTDIR staging wrote into the prefix" >&2; exit 1; }
mv "$work/stage$work/never" "$work/moved tree"
start_program "$elsewhere" "\"$work/moved tree/bin/zorvan2\""
expect_help_then_ctrl_c "a moved tree"

echo "install: ok"
