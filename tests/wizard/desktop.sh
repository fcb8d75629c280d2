#!/bin/sh
# The window under a window manager, as tests/with-x started it (mwm, or
# openbox with --wm=openbox): fixed size in the size hints and the Motif
# hints, centred on the screen unless placed by -geometry or the x and y
# resources, and the error dialog centred over it.  Under openbox also the
# allowed actions, and that maximising by the title bar or resizing by the
# frame leaves the size alone.
#   usage: desktop.sh INSTALLER-IMAGE RECORD-PLAYER MKINSTALLER mwm|openbox
set -u
image=$1 player=$2 mkinstaller=$3 wm=$4
. "$(dirname "$0")/program.sh"
mkdir -p "$work/home" && chmod 777 "$work/home"

# Prints "x y width height" of the window manager's frame around window $1.
outer_box() {
  outer=$1
  while parent=$(xwininfo -children -id "$outer" | awk '/Parent window id:/ {print $4, $5}') &&
        [ -n "$parent" ] && [ "${parent#* }" != "(the" ]; do
    outer=${parent%% *}
  done
  xwininfo -id "$outer" | awk '/Absolute upper-left X:/ {x=$4} /Absolute upper-left Y:/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}'
}

# Prints "width height" of window $1 itself.
size_of() {
  xwininfo -id "$1" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w, h}'
}

# Checks that the centre of box $1 ("x y w h") lies within $3 pixels of the
# centre of box $2 across and within $4 pixels down.
expect_centred() {
  echo "$1 $2" | awk -v dx="$3" -v dy="$4" '{
    ax = 2 * $1 + $3; ay = 2 * $2 + $4; bx = 2 * $5 + $7; by = 2 * $6 + $8
    exit !((ax - bx) <= 2 * dx && (bx - ax) <= 2 * dx && (ay - by) <= 2 * dy && (by - ay) <= 2 * dy)
  }' || fail "$case: $1 is not centred on $2"
}

# How far off centre the window may be: openbox announces its frame, so the
# frame is centred to the pixel; mwm does not, so the window is placed as
# if the frame had no thickness.
tolerance() {
  box=$(outer_box "$window") size=$(size_of "$window")
  if [ "$wm" = openbox ]; then
    echo 1 1
  else
    echo "$box $size" | awk '{print ($3 - $5) / 2 + 1, ($4 - $6) / 2 + 1}'
  fi
}

# Whether the root window counts $desktops desktops.
desktops_counted() { [ "$(xdotool get_num_desktops)" = "$desktops" ]; }

# Waits until openbox has handled the input sent before: it handles a request
# for one more desktop after that input, and what it did with the input
# shows by then.
openbox_caught_up() {
  desktops=$(($(xdotool get_num_desktops) + 1))
  xdotool set_num_desktops "$desktops"
  await desktops_counted ||
    fail "$case: openbox did not count $desktops desktops within $wait_limit s, but $(xdotool get_num_desktops)"
}

screen=$(xwininfo -root | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print 0, 0, w, h}')

for width in 489 520; do
  case="a window $width pixels wide"
  start "$work" "$work/home" -xrm "ZorvaneInstaller.width: $width"
  hints=$(xprop -id "$window" WM_NORMAL_HINTS _MOTIF_WM_HINTS)
  echo "$hints" | grep -q "minimum size: $width by 350" || fail "$case: hints: $hints"
  echo "$hints" | grep -q "maximum size: $width by 350" || fail "$case: hints: $hints"
  echo "$hints" | grep -q '= 0x3, 0x2c, 0x3a,' || fail "$case: Motif hints: $hints"
  expect_centred "$(outer_box "$window")" "$screen" $(tolerance)
  xdotool key c
  installer_ended
done

case="a position given by -geometry"
start "$work" "$work/home" -geometry +30+40
[ "$(outer_box "$window" | cut -d' ' -f1,2)" = "30 40" ] || fail "$case: at $(outer_box "$window")"
xdotool key c
installer_ended

case="a position given by the x and y resources"
start "$work" "$work/home" -xrm 'ZorvaneInstaller.x: 70' -xrm 'ZorvaneInstaller.y: 60'
[ "$(outer_box "$window" | cut -d' ' -f1,2)" = "70 60" ] || fail "$case: at $(outer_box "$window")"
xdotool key c
installer_ended

case="the error dialog"
start "$work" "$work/home/missing/home"
xdotool key Return f
await_dialog
expect_centred "$(outer_box "$dialog")" "$(outer_box "$window")" 1 1
press_ok && xdotool key c
installer_ended

if [ "$wm" = openbox ]; then
  case="openbox's actions"
  start "$work" "$work/home"
  actions=$(xprop -id "$window" _NET_WM_ALLOWED_ACTIONS)
  echo "$actions" | grep -q "_NET_WM_ACTION_MOVE" || fail "$case: $actions"
  echo "$actions" | grep -q "RESIZE\|MAXIMIZE" && fail "$case: $actions"
  set -- $(outer_box "$window")
  xdotool mousemove $(($1 + $3 / 2)) $(($2 + 5)) click --repeat 2 --delay 100 1
  openbox_caught_up
  xdotool mousemove $(($1 + $3 - 5)) $(($2 + $4 - 5)) keydown alt mousedown 3 \
    mousemove_relative 80 60 mouseup 3 keyup alt
  openbox_caught_up
  [ "$(size_of "$window")" = "489 350" ] || fail "$case: resized to $(size_of "$window")"
  xprop -id "$window" _NET_WM_STATE | grep -q MAXIMIZED && fail "$case: maximised"
  xdotool key alt+F4
  installer_ended
  [ "$status" = 0 ] || fail "$case: closing ended with status $status"
fi

verdict "all $wm desktop checks passed"
