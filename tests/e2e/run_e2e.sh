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
e2e_name=e2e
source "$here/e2e_lib.sh"

require_program
[ -f "$expected" ] || fail "no expected CSV at $expected"

open_get_save_compare() {
  local saved=$1
  open_file "$sample_name"
  press_get_data
  save_grid_as "$saved"
  expect_same_file "$saved" "$expected"
}

start_xvfb

echo "e2e: open the sample, get data, save the grid"
start_program
open_get_save_compare "$work/first.csv"
stop_program

echo "e2e: get data before any file is chosen"
start_program
press_get_data
dismiss_error_box
echo "e2e: the program goes on after the error"
open_get_save_compare "$work/second.csv"
stop_program

echo "e2e: passed"
