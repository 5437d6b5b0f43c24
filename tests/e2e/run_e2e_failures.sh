#!/usr/bin/env bash
# Every failure a person can cause through the window, on the built program
# in a real X server, driven by real input events into its real window and
# file dialogs. Each must show one clear message box (its text is read back
# through the clipboard: a box copies it on Ctrl+C) and lose nothing: the
# grid keeps its rows, and no file is harmed or left half-written.
#
#   - the opened file deleted, or replaced by a folder, before "Get Data";
#   - a file the user may not read;
#   - a save into a folder without write permission, onto a read-only file,
#     into a missing folder, onto /dev/full;
#   - a save onto the open input file itself that fails for want of room:
#     the input must survive.
#
# Permissions mean nothing to root, so as root the program runs as the
# unprivileged user "nobody", in a mount namespace of the test's own where
# the small file system for the last case is made. It runs from a copy in
# the test's work folder, since the clone may sit where "nobody" cannot
# enter; where it still cannot reach its program, the test says so at once.
#
# Usage: run_e2e_failures.sh PROGRAM CLIPBOARD_HELPER E2E_FOLDER
set -euo pipefail

program=${1:?usage: run_e2e_failures.sh PROGRAM CLIPBOARD_HELPER E2E_FOLDER}
clipboard=${2:?usage: run_e2e_failures.sh PROGRAM CLIPBOARD_HELPER E2E_FOLDER}
here=${3:?usage: run_e2e_failures.sh PROGRAM CLIPBOARD_HELPER E2E_FOLDER}

# As root: start again inside a mount namespace of our own, where a mount
# vanishes with the test whatever happens to it.
if [ "$(id -u)" -eq 0 ] && [ -z "${KELVORA_E2E_PRIVATE_MOUNTS:-}" ]; then
  if unshare -m --propagation private true 2>/dev/null; then
    KELVORA_E2E_PRIVATE_MOUNTS=1 exec unshare -m --propagation private "$0" "$@"
  fi
fi

expected="$here/../app/expected/news_export.csv"
e2e_name="e2e failures"
source "$here/e2e_lib.sh"

require_program
[ -x "$clipboard" ] || fail "no clipboard helper at $clipboard"

mounted=""
cleanup() {
  [ -n "$mounted" ] && umount "$mounted" 2>/dev/null || true
  chmod -R u+rwx "$work" 2>/dev/null || true
  e2e_cleanup
}
trap cleanup EXIT

# --- the program's user -------------------------------------------------------

chmod 755 "$work"
if [ "$(id -u)" -eq 0 ]; then
  command -v setpriv >/dev/null || fail "setpriv is needed to run the program unprivileged"
  as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups)
  chown 65534:65534 "$work"
fi
# Files the program's user makes and owns, as a person's own files are.
as_owner() { "${as_user[@]}" "$@"; }

# The outermost folder on the way to `path` that the program's user cannot
# enter; nothing when it can reach it.
closed_folder() {
  local folder closed=""
  folder=$(dirname "$1")
  while [ "$folder" != / ]; do
    as_owner test -x "$folder" || closed=$folder
    folder=$(dirname "$folder")
  done
  echo "$closed"
}

closed=$(closed_folder "$work/program.log")
[ -z "$closed" ] ||
  fail "the program's user cannot enter $closed, where the work folder is: set TMPDIR to a folder every user may enter"

# The program runs from a copy in the work folder, with the sample beside
# it: the clone may sit where the program's user cannot enter, as root's own
# home (mode 0700) does.
copy="$work/program"
mkdir "$copy"
cp "$program" "$(dirname "$program")/$sample_name" "$copy/"
chmod -R a+rX "$copy"
program="$copy/$(basename "$program")"
sample="$copy/$sample_name"
as_owner test -x "$program" ||
  fail "the program's user cannot run its copy at $program: is ${TMPDIR:-/tmp} mounted without the right to run programs?"

# --- the dialogs and boxes ----------------------------------------------------

# The dialog asks before it replaces a file; the answer is yes.
confirm_replace() {
  wait_for "the question whether to replace" window_count_is '^Save As$' -ge 2
  box=$(program_windows '^Save As$' | tail -n 1)
  retry_until "the \"Save As\" dialog to close" answer_yes save_dialog_closed
}
answer_yes() {
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  xdotool key alt+y
}
save_dialog_closed() { lacks_window '^Save As$'; }

# A box copies its text on Ctrl+C.
box_text=""
copy_box_text() {
  xdotool windowfocus --sync "$box" 2>/dev/null || true
  xdotool key ctrl+c
}
box_copied() { box_text=$("$clipboard" 2>/dev/null || true); [ -n "$box_text" ]; }

# The one box that must appear now, among the windows titled `title`
# (`before` of them were there already): its text must hold `text`. It is
# read through the clipboard, then the box is closed, and no other follows.
expect_one_box() {
  local title=$1 before=$2 text=$3
  "$clipboard" --clear
  wait_new_box "$title" "$before" "a message box saying \"$text\""
  retry_until "the box's text on the clipboard" copy_box_text box_copied
  case "$box_text" in
    *"$text"*) ;;
    *) fail "the box said \"$box_text\", not \"$text\"" ;;
  esac
  retry_until "the box to close" close_box box_closed
  wait_for "no box left" window_count_is "$title" -eq "$before"
}

expect_error_box() { expect_one_box '^Kelvora$' 1 "$1"; }

# A save that must fail: the name is typed and accepted; what follows (a box
# over the window or over the dialog) is the caller's to wait for.
save_grid_failing() {
  choose_menu_item 2
  type_into_dialog "Save As" "$1"
}

folder_entries() { find "$1" -mindepth 1 | sort; }

# --- the cases ----------------------------------------------------------------

printf '""\r\n' >"$work/empty-grid.csv"
printf '"","","","","","",""\r\n' >"$work/empty-grid-7.csv"

start_xvfb
start_program

echo "e2e failures: the opened file is deleted before Get Data"
as_owner cp "$sample" "$work/gone.txt"
open_file "$work/gone.txt"
rm "$work/gone.txt"
press_get_data
expect_error_box "File not found."
save_grid_as "$work/after-gone.csv"
expect_same_file "$work/after-gone.csv" "$work/empty-grid.csv"

echo "e2e failures: the opened file is replaced by a folder before Get Data"
as_owner cp "$sample" "$work/folder.txt"
open_file "$work/folder.txt"
rm "$work/folder.txt"
as_owner mkdir "$work/folder.txt"
press_get_data
expect_error_box "Is a folder, not a file."

as_owner touch "$work/probe"
as_owner chmod 000 "$work/probe"
if as_owner test -r "$work/probe"; then
  echo "e2e failures: skipped the permission cases: the program's user may read and write everything"
  permissions=""
else
  permissions=yes
fi

if [ -n "$permissions" ]; then
  echo "e2e failures: a file without read permission"
  as_owner cp "$sample" "$work/secret.txt"
  as_owner chmod 000 "$work/secret.txt"
  open_file "$work/secret.txt"
  press_get_data
  expect_error_box "Access denied."
fi
save_grid_as "$work/after-unreadable.csv"
expect_same_file "$work/after-unreadable.csv" "$work/empty-grid.csv"

echo "e2e failures: the grid is filled for the saves that follow"
as_owner cp "$sample" "$work/news.txt"
open_file "$work/news.txt"
press_get_data
save_grid_as "$work/good.csv"
expect_same_file "$work/good.csv" "$expected"

if [ -n "$permissions" ]; then
  echo "e2e failures: a save into a folder without write permission"
  as_owner mkdir "$work/locked"
  as_owner chmod 555 "$work/locked"
  save_grid_failing "$work/locked/out.csv"
  expect_error_box "Cannot create file $work/locked/out.csv."
  [ -z "$(folder_entries "$work/locked")" ] || fail "the locked folder holds: $(folder_entries "$work/locked")"

  echo "e2e failures: a save onto a read-only file"
  printf 'old\r\n' | as_owner tee "$work/readonly.csv" >/dev/null
  as_owner chmod 444 "$work/readonly.csv"
  save_grid_failing "$work/readonly.csv"
  confirm_replace
  expect_error_box "Cannot create file $work/readonly.csv."
  [ "$(cat "$work/readonly.csv")" = $'old\r' ] || fail "the read-only file changed"
fi

echo "e2e failures: a save into a missing folder"
save_grid_failing "$work/missing/out.csv"
expect_one_box '^Save As$' 1 "Path does not exist."
xdotool key Escape
wait_for "the \"Save As\" dialog to close" lacks_window '^Save As$'
[ ! -e "$work/missing" ] || fail "a missing folder was made"

echo "e2e failures: a save onto /dev/full"
save_grid_failing /dev/full
confirm_replace
expect_error_box "Cannot write file /dev/full: Disk full."

# A small file system of our own, where the program's CSV does not fit
# beside the input it was read from.
if [ -n "${KELVORA_E2E_PRIVATE_MOUNTS:-}" ] && mkdir "$work/small" &&
   mount -t tmpfs -o size=1200k,mode=0777 tmpfs "$work/small"; then
  mounted="$work/small"
  echo "e2e failures: a failed save onto the open input file leaves the input whole"
  for ((i = 0; i < 24000; i++)); do
    printf 'Date: Tue, %d Feb 2003 12:%02d:56 +0100\n' $((i % 28 + 1)) $((i % 60))
  done >"$work/input-original.txt"
  as_owner cp "$work/input-original.txt" "$work/small/input.txt"
  open_file "$work/small/input.txt"
  press_get_data
  save_grid_failing "$work/small/input.txt"
  confirm_replace
  expect_error_box "Cannot write file $work/small/input.txt: Disk full."
  cmp -s "$work/small/input.txt" "$work/input-original.txt" || fail "the input file was harmed by the failed save"
  [ "$(folder_entries "$work/small")" = "$work/small/input.txt" ] ||
    fail "the small disk holds: $(folder_entries "$work/small")"
  open_file "$work/news.txt"
  press_get_data
else
  echo "e2e failures: skipped the save onto the input: no small file system can be mounted here"
fi

echo "e2e failures: after all of it, the program still does its whole job"
save_grid_as "$work/final.csv"
expect_same_file "$work/final.csv" "$expected"
stop_program

echo "e2e failures: passed"
