#!/bin/sh
# Paths in the user's locale, with the whole program under C.UTF-8: a home
# with non-ASCII characters, a typed é, and a home whose bytes are no UTF-8
# (taken as the first candidate and chosen again from the list after an
# edit) each install into exactly their directory, with no warning; in the C
# locale the bytes of HOME pass as they are.
#   usage: locale.sh INSTALLER-IMAGE RECORD-PLAYER MKINSTALLER
set -u
image=$1 player=$2 mkinstaller=$3
. "$(dirname "$0")/program.sh"
export LANG=C.UTF-8
unset LC_ALL LC_CTYPE

# Makes a home directory for the unprivileged user.
make_home() {
  mkdir -p "$1" && chmod 777 "$1"
}

# Prints the shown windows that no window manager frames, such as the combo
# box's list.
unframed_windows() {
  for child in $(xwininfo -root -children | awk '/^ +0x/ { print $1 }'); do
    xwininfo -id "$child" | grep -q 'Map State: IsViewable' &&
      xwininfo -id "$child" | grep -q 'Override Redirect State: yes' && echo "$child"
  done
}

# Whether the list is down: an unframed window shown that was not before it.
list_shown() { [ "$(unframed_windows)" != "$unframed_before" ]; }
list_gone() { ! list_shown; }

# Installs into the first candidate of home $1 by keys and checks that the
# product landed in exactly $1/Zorvane8 and nothing was printed.
install_first_candidate() {
  start "$work" "$1"
  xdotool key Return f
  installer_ended
  [ "$status" = 0 ] || fail "$case: status $status"
  [ -s "$work/out" ] && fail "$case: printed: $(cat "$work/out")"
  expect_player_in "$1/Zorvane8"
}

case="a home in UTF-8"
home="$work/zoë-山田"
make_home "$home"
install_first_candidate "$home"

case="a home that is no UTF-8"
home=$(printf '%s/zo\351' "$work")
make_home "$home"
install_first_candidate "$home"

case="a typed é"
make_home "$work/open"
# é on a key of its own: xdotool would bind it only for a moment, and the
# installer, reading the keyboard's map when it handles the key, could find
# it gone
spare=$(xmodmap -pke | awk 'NF == 3 { print $2; exit }')
xmodmap -e "keycode $spare = eacute Eacute" || fail "$case: no key for é"
start "$work" "$work/zoë-山田"
xdotool key Return shift+Tab ctrl+slash
xdotool type --delay 40 "$work/open/café"
xdotool key Tab f
installer_ended
expect_player_in "$work/open/café"
[ -d "$(printf '%s/open/caf\351' "$work")" ] && fail "$case: é was typed as Latin-1"

case="a home that is no UTF-8, chosen again from the list"
start "$work" "$home"
xdotool key Return shift+Tab ctrl+slash
xdotool type --delay 40 "x"
unframed_before=$(unframed_windows)
xdotool key Down
await list_shown || fail "$case: the list did not drop within $wait_limit s"
xdotool key Home Return
await list_gone || fail "$case: the list was still down after $wait_limit s"
xdotool key Tab f
installer_ended
expect_player_in "$home/Zorvane8"

case="a home that is no UTF-8 in the C locale"
rm -rf "$home/Zorvane8"
LANG=C install_first_candidate "$home"

verdict "all locale checks passed"
