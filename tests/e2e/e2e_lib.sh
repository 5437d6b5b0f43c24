# What every end-to-end script needs to drive the real program in a real X
# server with real input events. Source it after setting `e2e_name` (the
# prefix of every message); it sets up a work folder that is removed at exit.
#
# Everything waits on conditions, never on time: under load a window can be
# mapped before it takes input, so each step makes sure its input arrived
# where it should before the next one.

timeout_s=${timeout_s:-30}

# The client area below the menu is fixed; the button sits on the panel.
readonly client_height=243
readonly button_x=$((174 + 59 / 2)) button_y=$((5 + 26 / 2))

# A failure says what it waited for, shows what the work folder holds (with
# owners and permissions) and what the program wrote, and leaves a picture of
# the screen beside the temporary folders.
fail() {
  echo "$e2e_name: FAILED: $*" >&2
  if [ -d "${work:-}" ]; then
    find "$work" -mindepth 1 -maxdepth 2 -printf '  %M %u %p\n' 2>/dev/null | grep -v '/display$' >&2
    [ -s "$work/program.log" ] && tail -n 40 "$work/program.log" >&2
  fi
  if [ -n "${DISPLAY:-}" ] && command -v import >/dev/null; then
    local picture="${TMPDIR:-/tmp}/kelvora-${e2e_name// /-}.png"
    import -window root "$picture" 2>/dev/null && echo "$e2e_name: the screen is in $picture" >&2
  fi
  exit 1
}

require_tools() {
  local tool
  for tool in "$@"; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (scripts/install-deps installs it)"
  done
}

work=$(mktemp -d "${TMPDIR:-/tmp}/kelvora-e2e.XXXXXX")
xvfb_pid=""
app_pid=""
main_window=""
e2e_cleanup() {
  # A program held still by the test takes no signal but a kill until it runs on.
  [ -n "$app_pid" ] && { kill -CONT "$app_pid"; kill "$app_pid"; } 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap e2e_cleanup EXIT

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

# Polls a command for a few seconds; answers whether it came true.
came_true_soon() {
  local deadline=$((SECONDS + 2))
  until "$@"; do
    [ "$SECONDS" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# Does `action` until `check` holds: a key or click sent in the moment a
# window maps or closes may be lost, so it is sent again.
retry_until() {
  local what=$1 action=$2 check=$3
  local deadline=$((SECONDS + timeout_s))
  until $check; do
    [ "$SECONDS" -lt "$deadline" ] || fail "timed out waiting for $what"
    $action
    came_true_soon $check || true
  done
}

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

# --- the program's windows --------------------------------------------------

# The visible top-level windows of the running program whose title matches.
program_windows() {
  xdotool search --all --onlyvisible --pid "$app_pid" --name "$1" 2>/dev/null || true
}
window_count() { program_windows "$1" | grep -c . || true; }
# Whether the count of windows with that title compares so (-eq, -ge, ...)
# with a number, counted anew on every call, as a wait needs.
window_count_is() { [ "$(window_count "$1")" "$2" "$3" ]; }
has_window() { [ -n "$(program_windows "$1")" ]; }
lacks_window() { [ -z "$(program_windows "$1")" ]; }
window_viewable() { xwininfo -id "$1" 2>/dev/null | grep -q 'Map State: IsViewable'; }
program_ended() { ! kill -0 "$app_pid" 2>/dev/null; }
# A held program reads nothing: what the X server gets meanwhile waits, in
# order, for the program to run on.
hold_program() { kill -STOP "$app_pid"; }
release_program() { kill -CONT "$app_pid"; }
has_focus() { [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ]; }

# The one window with that title; fails when there is none.
wait_window() {
  local what=$1 title=$2
  wait_for "$what" has_window "$title"
  program_windows "$title" | head -n 1
}

# Gives a window the keyboard, and waits until it has it.
focus_window() {
  local window=$1
  until has_focus "$window"; do
    xdotool windowfocus --sync "$window" 2>/dev/null || true
    came_true_soon has_focus "$window" && return 0
    window_viewable "$window" || fail "window $window went away before it took the keyboard"
  done
}

# The tools that drive the program, the program itself and the sample that
# ships beside it, checked before anything starts.
sample_name=news_export.txt
require_program() {
  require_tools Xvfb xdotool xwininfo cmp
  [ -x "$program" ] || fail "no program at $program"
  [ -f "$(dirname "$program")/$sample_name" ] || fail "the sample is not beside the program"
  # The program starts in the work folder, so a path relative to here would miss it.
  program=$(realpath "$program")
}

# The command that the program runs under: empty, or one that switches to
# another user (set by a script that needs one); the program starts in the
# work folder, which that user can enter.
as_user=()

has_main_window_or_ended() { has_window '^Kelvora$' || program_ended; }

start_program() {
  (cd "$work" && exec "${as_user[@]}" env QT_QPA_PLATFORM=xcb "$program" 2>>"$work/program.log") &
  # The switch of user and env replace themselves with the program: the pid is its own.
  app_pid=$!
  wait_for "the main window" has_main_window_or_ended
  if program_ended; then
    local status=0
    wait "$app_pid" 2>/dev/null || status=$?
    fail "the program ended with status $status before it showed its window"
  fi
  main_window=$(program_windows '^Kelvora$' | head -n 1)
  # The window must have painted once before it takes input reliably.
  wait_for "the main window to be viewable" window_viewable "$main_window"
}

stop_program() {
  if kill -0 "$app_pid" 2>/dev/null; then
    choose_menu_item 3  # File > Exit
    wait_for "the program to end after File > Exit" program_ended
  fi
  wait "$app_pid" 2>/dev/null || true
  app_pid=""
}

# --- the main window --------------------------------------------------------

# A click inside the main window, at a point of its client area.
click_in_main() {
  xdotool mousemove --window "$main_window" "$1" "$2" click 1
}

# The grid below the panel is wider than its seven fitted columns, so a click
# far right in it gives it the focus and selects no cell.
readonly grid_free_x=200 grid_free_y=150
focus_grid() {
  focus_window "$main_window"
  click_in_main "$grid_free_x" $(($(menu_bar_height) + grid_free_y))
}

# The keys go to the X server one by one; the program takes them in order,
# and what it saves shows whether they all arrived.
keys() { xdotool key --delay 30 "$@"; }

menu_bar_height() {
  local height
  height=$(xdotool getwindowgeometry "$main_window" | sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p')
  echo $((height - client_height))
}

# The menu opens as a second visible window of the program; it carries no
# title that a search by name would find.
menu_window() { program_windows '' | grep -vx "$main_window" | head -n 1; }
menu_open() { [ -n "$(menu_window)" ]; }
menu_closed() { [ -z "$(menu_window)" ]; }

# Opens File and clicks its Nth item (Open, Save Grid, Exit). The item is
# clicked rather than reached with keys: a key sent before the menu holds the
# keyboard would land in the grid and edit a cell. A click sent in the
# moment a modal window closes can be dropped, so the click on File is sent
# again until the menu shows.
click_file_menu() { click_in_main 14 $(($(menu_bar_height) / 2)); }
choose_menu_item() {
  local index=$1
  retry_until "the File menu" click_file_menu menu_open
  local menu geometry height width
  menu=$(menu_window)
  geometry=$(xdotool getwindowgeometry "$menu")
  width=$(sed -n 's/.*Geometry: \([0-9]*\)x[0-9]*.*/\1/p' <<<"$geometry")
  height=$(sed -n 's/.*Geometry: [0-9]*x\([0-9]*\).*/\1/p' <<<"$geometry")
  # Three items of equal height, with a small frame above and below.
  xdotool mousemove --window "$menu" $((width / 2)) $(((2 * index - 1) * height / 6)) click 1
  wait_for "the File menu to close" window_gone "$menu"
}

window_gone() { ! xdotool search --all --onlyvisible --pid "$app_pid" --name '' 2>/dev/null | grep -qx "$1"; }

# The main window takes input again only once a dialog over it has gone and
# the keyboard is back with it.
press_get_data() {
  focus_window "$main_window"
  click_in_main "$button_x" $(($(menu_bar_height) + button_y))
}

# Types a name into the file dialog with that title and accepts it with
# Return. The dialog may stay open (with a question or a warning of its
# own); the caller waits for what follows.
type_into_dialog() {
  local title=$1 text=$2
  local dialog
  dialog=$(wait_window "the \"$title\" dialog" "^$title")
  wait_for "the \"$title\" dialog to be viewable" window_viewable "$dialog"
  focus_window "$dialog"
  # The name field has the focus when the dialog opens; clear what it holds.
  xdotool key ctrl+a
  xdotool type --delay 5 "$text"
  xdotool key Return
}

# Types into the file dialog, accepts, and waits until the main window is
# alone again.
answer_file_dialog() {
  local title=$1 text=$2
  type_into_dialog "$title" "$text"
  wait_for "the \"$title\" dialog to close" lacks_window "^$title"
  # The name field's completion list is a pop-up of its own that can outlive
  # the dialog for a moment; while it shows, the next click only closes it.
  wait_for "the dialog's pop-ups to close" only_main_window
}

only_main_window() { [ "$(program_windows '' | grep -vcx "$main_window")" -eq 0 ]; }

open_file() {
  choose_menu_item 1
  answer_file_dialog Open "$1"
}

save_grid_as() {
  choose_menu_item 2
  answer_file_dialog "Save As" "$1"
}

# --- message boxes ----------------------------------------------------------

# The one box that must appear now among the windows titled `title`, of
# which `before` were there already; it is kept in `box`.
box=""
wait_new_box() {
  local title=$1 before=$2 what=$3
  wait_for "$what" window_count_is "$title" -gt "$before"
  [ "$(window_count "$title")" -eq $((before + 1)) ] || fail "more than one box for $what"
  box=$(program_windows "$title" | tail -n 1)
  wait_for "the box to be viewable" window_viewable "$box"
}
close_box() {
  window_viewable "$box" || return 0
  focus_window "$box"
  xdotool key Return
}
box_closed() { ! window_viewable "$box"; }

# The error box beside the main window: waits for it and dismisses it with
# Return. Its text is not checked here (the unit tests do).
dismiss_error_box() {
  wait_new_box '^Kelvora$' 1 "an error box beside the main window"
  retry_until "the error box to close" close_box box_closed
  wait_for "no box left" window_count_is '^Kelvora$' -eq 1
}

# The saved file appears under its name only once it is complete, but give
# the program a moment all the same before calling a difference a failure.
expect_same_file() {
  local saved=$1 expected=$2
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
