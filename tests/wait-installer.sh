# Shared by the tests that start the real installer's wizard in the background:
# waits for events (the installer ended, a window shown, the keyboard focus
# in it, a window gone), each for up to $wait_limit seconds, long enough for
# a machine under load.  A wait that runs out reports with the script's fail,
# under $case, what it awaited and what it saw, and returns 1.

wait_limit=60

# Polls until command $1... succeeds, at most $wait_limit seconds; false if
# it never did.
await() {
  deadline=$(($(date +%s) + wait_limit))
  until "$@"; do
    [ "$(date +%s)" -lt "$deadline" ] || return 1
    sleep 0.1
  done
}

# Whether process $pid has ended.
installer_gone() { ! kill -0 "$pid" 2>/dev/null; }

# Waits for the installer started as $pid, or the player that replaced it,
# to end, and keeps its exit status in $status; one that does not end is
# killed and reported.
wait_installer() {
  await installer_gone ||
    fail "$case: the installer still runs after $wait_limit s; it printed: $(tail -c 300 "$work/out" 2>/dev/null)"
  kill "$pid" 2>/dev/null
  wait "$pid"
  status=$?
}

# Prints the id of the visible window titled exactly $1, if there is one.
visible_window() {
  xdotool search --onlyvisible --limit 1 --name "^$1\$" 2>/dev/null | head -n 1
}

# The titles of the windows shown now, for a failure's message.
shown_titles() {
  for id in $(xdotool search --onlyvisible --name . 2>/dev/null); do
    printf '"%s" ' "$(xdotool getwindowname "$id" 2>/dev/null)"
  done
}

# Whether a visible window is titled exactly $title; keeps its id in $found.
window_shown() {
  found=$(visible_window "$title")
  [ -n "$found" ]
}

# Waits for a visible window titled exactly $1 and keeps its id in $found.
await_window() {
  title=$1
  await window_shown ||
    { fail "$case: no window titled \"$1\" within $wait_limit s; shown: $(shown_titles)"; return 1; }
}

# Whether the keyboard focus lies in window $target.
focus_in_target() {
  [ "$(xdotool getwindowfocus 2>/dev/null)" = "$target" ]
}

# Waits until window $1 has the keyboard focus, which the window manager
# gives it some time after it is mapped: keys sent before go elsewhere.
await_focus() {
  target=$1
  await focus_in_target && return 0
  focused=$(xdotool getwindowfocus 2>/dev/null)
  fail "$case: the focus is not in window $1 (\"$(xdotool getwindowname "$1" 2>/dev/null)\") after $wait_limit s, but in $focused (\"$(xdotool getwindowname "$focused" 2>/dev/null)\")"
  return 1
}

# Waits for the visible window titled exactly $1 to take the keyboard focus,
# and keeps its id in $window.
await_window_with_focus() {
  await_window "$1" && window=$found && await_focus "$window"
}

# Whether window $gone has left the screen.
window_gone() {
  [ "$(xwininfo -id "$gone" 2>/dev/null | awk '/Map State:/ {print $3}')" != IsViewable ]
}

# Waits for window $1 to leave the screen.
await_gone() {
  gone=$1
  await window_gone ||
    { fail "$case: window $1 (\"$(xdotool getwindowname "$1" 2>/dev/null)\") is still shown after $wait_limit s"; return 1; }
}

# Waits for the error dialog over the wizard's window $window to take the
# focus and keeps its id in $dialog.
await_dialog() {
  await_window Error && dialog=$found && await_focus "$dialog"
}

# Presses the error dialog's OK by its key and waits until the dialog has
# gone and the wizard's window $window has the focus back.
press_ok() {
  await_focus "$dialog" || return 1
  xdotool key Return
  await_gone "$dialog" && await_focus "$window"
}
