#!/usr/bin/env bash
# The mouse in the real window, under a real X server, with real input
# events, over a file of 300 date lines: Ctrl with the wheel zooms, so that a
# click lands on a higher row than it would unzoomed; a middle drag scrolls
# the grid to its end, so that a click near the top lands far down; and
# resting the mouse on a cell whose text is cut off shows the hint window.
# The saved CSV shows where each click landed.
#
# Usage: mouse_e2e.sh PROGRAM WINDOW_PICTURE E2E_FOLDER
set -euo pipefail

program=${1:?usage: mouse_e2e.sh PROGRAM WINDOW_PICTURE E2E_FOLDER}
picture_tool=${2:?usage: mouse_e2e.sh PROGRAM WINDOW_PICTURE E2E_FOLDER}
here=${3:?usage: mouse_e2e.sh PROGRAM WINDOW_PICTURE E2E_FOLDER}
e2e_name="mouse e2e"
source "$here/e2e_lib.sh"

require_program
start_xvfb
start_program

for i in $(seq 1 300); do
  printf 'Subject: %d\nDate: Mon, %d Jan 2001 10:%02d:00 +0000\n\n' "$i" $((i % 28 + 1)) $((i % 60))
done >"$work/many.txt"
echo "mouse e2e: Get Data on 300 date lines"
open_file "$work/many.txt"
press_get_data
focus_grid

# The grid lies below the panel; points are in the main window's client area.
grid_top() { echo $(($(menu_bar_height) + 35)); }
picture() { "$picture_tool" "$main_window" 0 "$(($(menu_bar_height) + 35))" 242 208; }
picture_changed() { [ "$(picture)" != "$before" ]; }
last_picture=""
picture_still() {
  local now
  now=$(picture)
  [ "$now" = "$last_picture" ] && return 0
  last_picture=$now
  return 1
}
# The weekday column is fitted to three letters, so this text is cut off.
mark() { xdotool type --delay 20 "$1"; xdotool key Return; }

echo "mouse e2e: Ctrl with the wheel zooms in"
before=$(picture)
xdotool mousemove --window "$main_window" 100 $(($(grid_top) + 100))
xdotool keydown ctrl
xdotool click --repeat 10 --delay 30 4
xdotool keyup ctrl
wait_for "the grid to zoom" picture_changed
click_in_main 10 $(($(grid_top) + 150))
mark zoomedzoomedzoomed
keys ctrl+0

echo "mouse e2e: a middle drag scrolls to the end"
before=$(picture)
xdotool mousemove --window "$main_window" 100 $(($(grid_top) + 30))
xdotool mousedown 2
xdotool mousemove --window "$main_window" 100 $(($(grid_top) + 190))
wait_for "the grid to scroll" picture_changed
wait_for "the grid to reach its end" picture_still
xdotool mouseup 2
click_in_main 10 $(($(grid_top) + 10))
mark pannedpannedpanned

echo "mouse e2e: resting on the cut-off cell shows its hint"
xdotool mousemove --window "$main_window" 12 $(($(grid_top) + 12))
wait_for "the hint window" window_count_is '' -gt 1
xdotool mousemove --window "$main_window" 200 $(($(grid_top) + 100))
wait_for "the hint window to close" window_count_is '' -eq 1

save_grid_as "$work/mouse.csv"
wait_for "the CSV to be written" test -f "$work/mouse.csv"
zoomed_line=$(grep -n '^zoomedzoomedzoomed,' "$work/mouse.csv" | cut -d: -f1)
panned_line=$(grep -n '^pannedpannedpanned,' "$work/mouse.csv" | cut -d: -f1)
# Unzoomed, 150 pixels down is the seventh row of 22 pixels.
[ -n "$zoomed_line" ] && [ "$zoomed_line" -lt 7 ] || fail "the zoomed click landed on line '$zoomed_line', not above 7"
[ -n "$panned_line" ] && [ "$panned_line" -gt 280 ] || fail "the click after the pan landed on line '$panned_line', not past 280"

stop_program
echo "mouse e2e: passed"
