#!/bin/sh
# The whole program on a display with mwm: the window's decorations and size,
# an install by keys into the first candidate and into a relative directory
# typed by hand, the player started with its path and "inst", the preference
# file, and Cancel's key.
#   usage: windowed-install.sh INSTALLER-IMAGE RECORD-PLAYER MKINSTALLER
set -u
image=$1 player=$2 mkinstaller=$3
. "$(dirname "$0")/program.sh"
mkdir -p "$work/home" "$work/rel"
chmod 777 "$work/home" "$work/rel"

case="window"
start "$work/rel" "$work/home"
xprop -id "$window" _MOTIF_WM_HINTS | grep -q '= 0x3, 0x2c, 0x3a,' ||
  fail "$case: decoration hint is not 58: $(xprop -id "$window" _MOTIF_WM_HINTS)"
size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 489x350 ] || fail "$case: size is $size"
xdotool key c
installer_ended
[ "$status" = 0 ] || fail "$case: C ended with status $status"

case="install into the first candidate by keys"
start "$work/rel" "$work/home"
xdotool key Return
xdotool key f
installer_ended
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/out")"
dest="$work/home/Zorvane8"
expect_player_in "$dest"
printf 'Bandwidth=10485800\nMaxBandwidth=10485800\n' | cmp -s - "$work/home/.Telquist_AmbriumSDK_60" ||
  fail "$case: preference file: $(cat "$work/home/.Telquist_AmbriumSDK_60")"
cmp -s "$work/product/share/readme" "$dest/share/readme" || fail "$case: product not unpacked"

case="install into a relative directory typed by hand"
start "$work/rel" "$work/home"
xdotool key Return
xdotool key shift+Tab ctrl+slash
xdotool type --delay 40 foo
xdotool key Tab f
installer_ended
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/out")"
printf 'arguments: 2\nargument 0: foo/zorvane\nargument 1: inst\nworking directory: %s/rel/foo\n' \
  "$work" | cmp -s - "$PLAYER_RECORD" || fail "$case: player record: $(cat "$PLAYER_RECORD")"
[ -e "$work/rel/foo/foo" ] && fail "$case: unpacked into foo/foo"

verdict "all windowed install checks passed"
