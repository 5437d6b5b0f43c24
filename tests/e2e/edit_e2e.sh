#!/usr/bin/env bash
# Editing cells in the real window, under a real X server, with real keys:
#
#   1. an edit box opened on the empty grid, then "Get Data": Escape on the
#      grid afterwards keeps what "Get Data" wrote;
#   2. typing over a cell and Escape bring its text back;
#   3. typing and Enter change a cell; copying a cell's text in its box and
#      pasting it at the end of the next cell's text joins them;
#
# and File > Save Grid must then write exactly those changes.
#
# Usage: edit_e2e.sh PROGRAM E2E_FOLDER
set -euo pipefail

program=${1:?usage: edit_e2e.sh PROGRAM E2E_FOLDER}
here=${2:?usage: edit_e2e.sh PROGRAM E2E_FOLDER}
original="$here/../app/expected/news_export.csv"
sample_name=news_export.txt
timeout_s=30

# The client area below the menu is fixed; the button sits on the panel, and
# the grid below it is wider than its seven fitted columns, so a click far
# right in it gives it the focus and selects no cell.
readonly client_height=243
readonly button_x=$((174 + 59 / 2)) button_y=$((5 + 26 / 2))
readonly grid_free_x=200 grid_free_y=150

fail() {
  echo "edit e2e: FAILED: $*" >&2
  exit 1
}

for tool in Xvfb xdotool cmp; do
  command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps installs it)"
done
[ -x "$program" ] || fail "no program at $program"
[ -f "$(dirname "$program")/$sample_name" ] || fail "the sample is not beside the program"

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvora-edit-e2e.XXXXXX")
xvfb_pid=""
app_pid=""
cleanup() {
  [ -n "$app_pid" ] && kill "$app_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

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

wait_for() {
  local what=$1
  shift
  local deadline=$((SECONDS + timeout_s))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
    sleep 0.1
  done
}

program_windows() { xdotool search --all --onlyvisible --pid "$app_pid" --name "$1" 2>/dev/null || true; }
has_window() { [ -n "$(program_windows "$1")" ]; }
lacks_window() { [ -z "$(program_windows "$1")" ]; }
window_count() { program_windows "$1" | grep -c . || true; }
menu_open() { [ "$(window_count '')" -ge 2 ]; }
window_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }

main_window=""
click_in_main() { xdotool mousemove --window "$main_window" "$1" "$2" click 1; }

menu_bar_height() {
  local height
  height=$(xdotool getwindowgeometry "$main_window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  echo $((height - client_height))
}

choose_menu_item() {
  click_in_main 14 $(($(menu_bar_height) / 2))
  wait_for "the File menu" menu_open
  local i
  for ((i = 0; i < $1; i++)); do xdotool key Down; done
  xdotool key Return
}

answer_file_dialog() {
  local title=$1 text=$2
  wait_for "the \"$title\" dialog" has_window "^$title"
  local dialog
  dialog=$(program_windows "^$title" | head -n 1)
  xdotool windowfocus --sync "$dialog" 2>/dev/null || true
  xdotool key ctrl+a
  xdotool type --delay 5 "$text"
  xdotool key Return
  wait_for "the \"$title\" dialog to close" lacks_window "^$title"
}

# The keys go to the X server one by one; the program takes them in order,
# and the saved file shows whether they all arrived.
keys() { xdotool key --delay 30 "$@"; }
focus_grid() { click_in_main "$grid_free_x" $(($(menu_bar_height) + grid_free_y)); }

# The original CSV with the second field of lines 1 and 2 replaced.
expected_csv() {
  awk -v one="$1" -v two="$2" 'BEGIN { FS = OFS = "," }
    NR == 1 { $2 = one } NR == 2 { $2 = two } { print }' "$original"
}

start_xvfb
QT_QPA_PLATFORM=xcb "$program" 2>>"$work/program.log" &
app_pid=$!
wait_for "the main window" has_window '^Kelvora$'
main_window=$(program_windows '^Kelvora$' | head -n 1)
wait_for "the main window to be viewable" window_viewable "$main_window"

echo "edit e2e: an edit box opened on the empty grid, then Get Data"
choose_menu_item 1
answer_file_dialog Open "$sample_name"
focus_grid
keys Return Return
click_in_main "$button_x" $(($(menu_bar_height) + button_y))

echo "edit e2e: Escape on the grid, typing and Escape, typing and Enter, copy and paste"
focus_grid
keys Escape
keys Right x y Escape
keys 9 9 Return
keys F2 ctrl+a ctrl+c Return Down F2 ctrl+v Return

choose_menu_item 2
answer_file_dialog "Save As" "$work/edited.csv"
wait_for "the saved grid" test -f "$work/edited.csv"
expected_csv 99 1199 >"$work/expected.csv"
deadline=$((SECONDS + 5))
until cmp -s "$work/edited.csv" "$work/expected.csv"; do
  if [ "$SECONDS" -ge "$deadline" ]; then
    diff -u --text "$work/expected.csv" "$work/edited.csv" | head -n 20 >&2 || true
    fail "the saved grid does not hold the edits"
  fi
  sleep 0.1
done

choose_menu_item 3
wait_for "the program to end after File > Exit" lacks_window '^Kelvora$'
echo "edit e2e: passed"
