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
xdotool key Down
sleep 0.5
xdotool key Home Return
sleep 0.3
xdotool key Tab f
installer_ended
expect_player_in "$home/Zorvane8"

case="a home that is no UTF-8 in the C locale"
rm -rf "$home/Zorvane8"
LANG=C install_first_candidate "$home"

verdict "all locale checks passed"
