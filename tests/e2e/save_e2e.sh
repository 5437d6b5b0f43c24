#!/usr/bin/env bash
# A save is one step in the real window: while a grid of a few million rows
# is written, the person clicks "Get Data" and the File menu, deletes a row
# and types in the grid, and presses the shortcuts of File > Open and File >
# Exit. None of it may act: the file written equals the grid as it stood
# when the save began, byte for byte, no dialog or menu opens, the program
# stays, and a second save afterwards writes the same grid again.
#
# Usage: save_e2e.sh PROGRAM E2E_FOLDER [DATE_LINES]
set -euo pipefail

program=${1:?usage: save_e2e.sh PROGRAM E2E_FOLDER [DATE_LINES]}
here=${2:?usage: save_e2e.sh PROGRAM E2E_FOLDER [DATE_LINES]}
lines=${3:-3000000}
e2e_name="save e2e"
timeout_s=${timeout_s:-120}
source "$here/e2e_lib.sh"

require_program
require_tools awk

# Two-digit days and times, so that each line cuts into its seven pieces
# the plain way; the CSV the grid must give is made from the same numbers,
# with the one empty row the grid keeps after its last date line.
awk -v n="$lines" 'BEGIN {
  for (i = 0; i < n; i++)
    printf "Date: Tue, %02d Feb 2003 %02d:%02d:%02d +0100\nSubject: %d\n", 10 + i % 18, i % 24, i % 60, (i / 60) % 60, i
}' >"$work/big.txt"
awk -v n="$lines" 'BEGIN {
  for (i = 0; i < n; i++)
    printf "Tue,%02d,Feb,2003,%02d,%02d,%02d\r\n", 10 + i % 18, i % 24, i % 60, (i / 60) % 60
  printf "\"\",\"\",\"\",\"\",\"\",\"\",\"\"\r\n"
}' >"$work/expected.csv"

start_xvfb
start_program

echo "save e2e: Get Data on $lines date lines"
open_file "$work/big.txt"
press_get_data

echo "save e2e: input while the grid is saved"
saving="$work/.during.csv.saving"
choose_menu_item 2
type_into_dialog "Save As" "$work/during.csv"
# The program is held as soon as the save begins, so all the input is queued
# while the save has most of its work ahead, however fast this machine is;
# it acts at the save's next break for messages.
saving_begun() { test -e "$saving"; }
deadline=$((SECONDS + timeout_s))
until saving_begun; do
  [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for the save to begin"
  sleep 0.01
done
hold_program
saving_begun || fail "the save ended before the program was held; give the grid more rows"
click_in_main "$button_x" $(($(menu_bar_height) + button_y))
focus_window "$main_window"
click_in_main "$grid_free_x" $(($(menu_bar_height) + 40))
keys Delete x ctrl+o
click_file_menu
keys ctrl+q
release_program
wait_for "the save to end" test ! -e "$saving"

expect_same_file "$work/during.csv" "$work/expected.csv"
program_ended && fail "the program ended during the save"
only_main_window || fail "a window opened during the save"

echo "save e2e: the grid is as it was"
save_grid_as "$work/after.csv"
expect_same_file "$work/after.csv" "$work/expected.csv"

stop_program
echo "save e2e: passed"
