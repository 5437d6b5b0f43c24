#!/usr/bin/env bash
# The built program in a real X server, driven by real input events into its
# real window and its real file dialogs, the way a person uses it:
#
#   1. File > Open the sample (typing only its bare name, so the dialog must
#      start in the program's own folder), "Get Data", File > Save Grid, and
#      the saved CSV must equal the expected file byte for byte;
#   2. "Get Data" before any File > Open shows an error box; once it is
#      dismissed the program still does the whole job of 1.
#
# Usage: run_e2e.sh PROGRAM E2E_FOLDER
# Exit status 0 when both pass; every failure says what it waited for.
set -euo pipefail

program=${1:?usage: run_e2e.sh PROGRAM E2E_FOLDER}
here=${2:?usage: run_e2e.sh PROGRAM E2E_FOLDER}
expected="$here/../app/expected/news_export.csv"
sample_name=news_export.txt
timeout_s=30

# The client area below the menu is fixed; the button sits on the panel.
readonly client_height=243
readonly button_x=$((174 + 59 / 2)) button_y=$((5 + 26 / 2))

fail() {
  echo "e2e: FAILED: $*" >&2
  exit 1
}

for tool in Xvfb xdotool cmp; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps installs it)"
done
[ -x "$program" ] || fail "no program at $program"
[ -f "$(dirname "$program")/$sample_name" ] || fail "the sample is not beside the program"
[ -f "$expected" ] || fail "no expected CSV at $expected"

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvora-e2e.XXXXXX")
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# --- the X server -----------------------------------------------------------

# Xvfb picks a free display itself and writes its number once it is ready.
# Without -noreset the server starts afresh whenever its last client leaves,
# and a program starting in that moment cannot connect.
start_xvfb() {
  local fifo="$work/display"
  mkfifo "$fifo"
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fifo" 2>"$work/xvfb.log" &
  xvfb_pid=$!
  local number=""
  if ! read -r -t "$timeout_s" number <"$fifo" || [ -z "$number" ]; then
    cat "$work/xvfb.log" >&2
    fail "Xvfb did not start"
  fi
  export DISPLAY=":$number"
}

# --- waiting on conditions --------------------------------------------------

# Polls a command until it succeeds; fails with the given text after the timeout.
wait_for() {
  local what=$1
  shift
  local deadline=$((SECONDS + timeout_s))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
    sleep 0.1
  done
}

# The visible top-level windows of the running program whose title matches.
program_windows() {
  xdotool search --all --onlyvisible --pid "$app_pid" --name "$1" 2>/dev/null || true
}

window_count() { program_windows "$1" | grep -c . || true; }

has_window() { [ -n "$(program_windows "$1")" ]; }
lacks_window() { [ -z "$(program_windows "$1")" ]; }

# The one window with that title; fails when there is none.
wait_window() {
  local what=$1 title=$2
  wait_for "$what" has_window "$title"
  program_windows "$title" | head -n 1
}

# The saved file appears under its name only once it is complete, but give
# the program a moment all the same before calling a difference a failure.
expect_saved_csv() {
  local saved=$1
  wait_for "$saved to be written" test -f "$saved"
  local deadline=$((SECONDS + 5))
  until cmp -s "$saved" "$expected"; do
    if [ "$SECONDS" -ge "$deadline" ]; then
      diff -u --text "$expected" "$saved" | head -n 40 >&2 || true
      fail "$saved differs from $expected"
    fi
    sleep 0.1
  done
}

# --- the program ------------------------------------------------------------

main_window=""

start_program() {
  QT_QPA_PLATFORM=xcb "$program" 2>>"$work/program.log" &
  app_pid=$!
  main_window=$(wait_window "the main window" '^Kelvora$')
  # The window must have painted once before it takes input reliably.
  wait_for "the main window to be viewable" window_viewable "$main_window"
}

window_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

stop_program() {
  if kill -0 "$app_pid" 2>/dev/null; then
    choose_menu_item 3  # File > Exit
    wait_for "the program to end after File > Exit" program_ended
  fi
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }

# A click inside the main window, at a point of its client area.
click_in_main() {
  xdotool mousemove --window "$main_window" "$1" "$2" click 1
}

menu_bar_height() {
  local height
  height=$(xdotool getwindowgeometry "$main_window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  echo $((height - client_height))
}

# Opens File with a click and picks its Nth item with the keyboard, as the
# menu takes it: Open, Save Grid, Exit.
choose_menu_item() {
  local index=$1
  click_in_main 14 $(($(menu_bar_height) / 2))
  wait_for "the File menu" menu_open
  local i
  for ((i = 0; i < index; i++)); do xdotool key Down; done
  xdotool key Return
}

# The menu opens as a second visible window of the program; it carries no
# title that a search by name would find.
menu_open() { [ "$(window_count '')" -ge 2 ]; }

press_get_data() {
  click_in_main "$button_x" $(($(menu_bar_height) + button_y))
}

# Types into the file dialog that has the keyboard and accepts with Return.
answer_file_dialog() {
  local title=$1 text=$2
  local dialog
  dialog=$(wait_window "the \"$title\" dialog" "^$title")
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  # The name field has the focus when the dialog opens; clear what it holds.
  xdotool key ctrl+a
  xdotool type --delay 5 "$text"
  xdotool key Return
  wait_for "the \"$title\" dialog to close" lacks_window "^$title"
}

# Under load a box can show before it takes keys, and the key is lost; it is
# pressed again until the box has gone.
dismiss_error_box() {
  local box=$1 deadline=$((SECONDS + timeout_s))
  until [ "$(window_count Kelvora)" -eq 1 ]; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for the error box to close"
    xdotool windowfocus --sync "$box" 2>/dev/null || true
    xdotool key Return
    local settle=$((SECONDS + 2))
    while [ "$(window_count Kelvora)" -ne 1 ] && [ "$SECONDS" -lt "$settle" ]; do sleep 0.1; done
  done
}

open_get_save_compare() {
  local saved=$1
  choose_menu_item 1
  answer_file_dialog Open "$sample_name"
  press_get_data
  choose_menu_item 2
  answer_file_dialog "Save As" "$saved"
  expect_saved_csv "$saved"
}

# --- the runs ---------------------------------------------------------------

start_xvfb

echo "e2e: open the sample, get data, save the grid"
start_program
open_get_save_compare "$work/first.csv"
stop_program

echo "e2e: get data before any file is chosen"
start_program
press_get_data
wait_for "an error box beside the main window" test "$(window_count Kelvora)" -ge 2
error_box=$(program_windows Kelvora | grep -vx "$main_window" | head -n 1)
[ -n "$error_box" ] || fail "no error box"
dismiss_error_box "$error_box"
echo "e2e: the program goes on after the error"
open_get_save_compare "$work/second.csv"
stop_program

echo "e2e: passed"
