#!/usr/bin/env bash
# The grid's own keys in the real window, under a real X server, with real
# keys: after "Get Data" on the sample, a cell is typed over and Escape
# brings its text back, it is typed over again and Enter keeps it, and two
# rows are deleted, one with Delete and one with Ctrl+Delete. File > Save
# Grid must then write exactly the file in expected/, which was written by
# hand from the sample's own expected CSV.
#
# Usage: keys_e2e.sh PROGRAM E2E_FOLDER
set -euo pipefail

program=${1:?usage: keys_e2e.sh PROGRAM E2E_FOLDER}
here=${2:?usage: keys_e2e.sh PROGRAM E2E_FOLDER}
expected="$here/expected/keys_news_export.csv"
e2e_name="keys e2e"
source "$here/e2e_lib.sh"

require_program
[ -f "$expected" ] || fail "no expected CSV at $expected"

start_xvfb
start_program

echo "keys e2e: Get Data on the sample"
open_file "$sample_name"
press_get_data

echo "keys e2e: typing and Escape, typing and Enter, Delete and Ctrl+Delete"
focus_grid
keys Right x y Escape
keys 9 9 Return
keys Down Delete ctrl+Delete

save_grid_as "$work/keys.csv"
expect_same_file "$work/keys.csv" "$expected"

stop_program
echo "keys e2e: passed"
