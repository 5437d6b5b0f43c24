#!/usr/bin/env bash
# Kelvora as a desktop installs it: `cmake --install` into a fresh prefix,
# the desktop entry checked, and the program started the way the entry's
# Exec line says, found on the PATH, in a real X server. There it must show
# its window with its icon, open its File menu with Alt+F and end on Ctrl+Q.
#
# Usage: installed_e2e.sh BUILD_FOLDER
# Exit status 0 when everything holds; every failure says what it waited for.
set -euo pipefail

build=${1:?usage: installed_e2e.sh BUILD_FOLDER}
e2e_name="installed e2e"
source "$(dirname "$0")/e2e_lib.sh"
require_tools Xvfb xdotool xprop cmake

# --- the files a desktop looks for ----------------------------------------

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >"$work/install.log" || { cat "$work/install.log" >&2; fail "cmake --install"; }
entry="$prefix/share/applications/kelvora.desktop"
for file in bin/kelvora share/applications/kelvora.desktop share/icons/hicolor/scalable/apps/kelvora.svg \
            share/icons/hicolor/48x48/apps/kelvora.png share/icons/hicolor/256x256/apps/kelvora.png \
            share/doc/kelvora/news_export.txt; do
  [ -s "$prefix/$file" ] || fail "nothing installed at $file"
done
[ -x "$prefix/bin/kelvora" ] || fail "the installed program cannot be run"

entry_value() { sed -n "s/^$1=//p" "$entry" | head -n 1; }
[ "$(entry_value Name)" = Kelvora ] || fail "the desktop entry's name is not Kelvora"
[ "$(entry_value Icon)" = kelvora ] || fail "the desktop entry does not name the icon kelvora"
[ "$(entry_value Type)" = Application ] || fail "the desktop entry is not an application"
! grep -q '^MimeType=' "$entry" || fail "the desktop entry claims file types the program does not take"
if command -v desktop-file-validate >/dev/null; then
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
fi
exec_line=$(entry_value Exec)
[ -n "$exec_line" ] || fail "the desktop entry has no Exec line"
case "$exec_line" in *%*) fail "the Exec line passes files, which the program does not take: $exec_line" ;; esac

# --- started as the desktop starts it ----------------------------------------

has_main_window() { [ -n "$(program_windows '^Kelvora$')" ]; }
any_menu_open() { [ "$(program_windows '' | grep -c .)" -ge 2 ]; }
no_menu_open() { [ "$(program_windows '' | grep -c .)" -eq 1 ]; }

start_xvfb
# The entry's Exec line, as a desktop runs it: a word list, the program found on the PATH.
read -r -a command <<<"$exec_line"
PATH="$prefix/bin:$PATH" XDG_DATA_DIRS="$prefix/share:/usr/share" QT_QPA_PLATFORM=xcb \
  "${command[@]}" 2>>"$work/program.log" &
app_pid=$!
wait_for "the installed program's window" has_main_window
main_window=$(program_windows '^Kelvora$' | head -n 1)
wait_for "the window to be viewable" window_viewable "$main_window"

# grep -c reads all that xprop prints, so that xprop never writes into a closed pipe.
[ "$(xprop -id "$main_window" _NET_WM_ICON | grep -c 'Icon (')" -gt 0 ] || fail "the window carries no icon"
[ "$(xprop -id "$main_window" WM_CLASS | grep -c '"kelvora"')" -gt 0 ] || fail "the window's class does not match the entry"

xdotool windowactivate --sync "$main_window" 2>/dev/null || xdotool windowfocus --sync "$main_window"
xdotool key alt+f
wait_for "Alt+F to open the File menu" any_menu_open
xdotool key Escape
wait_for "Escape to close the File menu" no_menu_open
xdotool key ctrl+q
wait_for "Ctrl+Q to end the program" program_ended
wait "$app_pid" || fail "the program ended with status $?"
app_pid=""
echo "installed e2e: passed"
