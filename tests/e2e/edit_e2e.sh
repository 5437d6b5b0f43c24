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
e2e_name="edit e2e"
source "$here/e2e_lib.sh"

require_program

# The original CSV with the second field of lines 1 and 2 replaced.
expected_csv() {
  awk -v one="$1" -v two="$2" 'BEGIN { FS = OFS = "," }
    NR == 1 { $2 = one } NR == 2 { $2 = two } { print }' "$original"
}

start_xvfb
start_program

echo "edit e2e: an edit box opened on the empty grid, then Get Data"
open_file "$sample_name"
focus_grid
keys Return Return
press_get_data

echo "edit e2e: Escape on the grid, typing and Escape, typing and Enter, copy and paste"
focus_grid
keys Escape
keys Right x y Escape
keys 9 9 Return
keys F2 ctrl+a ctrl+c Return Down F2 ctrl+v Return

save_grid_as "$work/edited.csv"
expected_csv 99 1199 >"$work/expected.csv"
expect_same_file "$work/edited.csv" "$work/expected.csv"

stop_program
echo "edit e2e: passed"
