#!/bin/sh
# Takes screenshots of the three pages, of the destination's list with a
# home named in UTF-8, and of the error dialog, for a person to look at: run
# as  tests/with-x --wm tests/wizard/take-screenshots.sh  (or --wm=openbox).
# The pictures land in ./screenshots (kept out of git).
#   usage: take-screenshots.sh [BUILD_DIR]
set -eu
build=${1:-build}
out=$PWD/screenshots
mkdir -p "$out"
work=$(mktemp -d) && chmod 755 "$work"
trap 'rm -rf "$work"' EXIT
case=screenshots
fail() { echo "FAIL: $*" >&2; exit 1; }
. "$(dirname "$0")/../wait-installer.sh"

# A product slow enough to unpack that the progress page can be caught.
mkdir -p "$work/product/share"
printf '#!/bin/sh\nexit 0\n' > "$work/product/zorvane" && chmod 755 "$work/product/zorvane"
head -c 400000000 /dev/urandom > "$work/product/share/media.bin"
(cd "$work/product" && tar -cf - .) | gzip -1 > "$work/payload.tar.gz"
"$build/mkinstaller" create "$build/zorvane-installer" "$work/payload.tar.gz" \
  "$work/installer.bin" > /dev/null

# Whether a new picture of the screen differs from the last shot's and,
# unless $moving is set, agrees with the picture taken before it.
screen_drawn() {
  import -window root "$work/next.png"
  cmp -s "$work/last.png" "$work/next.png" && return 1
  [ -n "$moving" ] || cmp -s "$work/next.png" "$work/before.png" && return 0
  mv "$work/next.png" "$work/before.png"
  sleep 0.3
  return 1
}

# The whole screen, on which the window is centred, once the window has
# drawn what changed since the last shot; --moving for a page that keeps
# changing.
shot() {
  moving=
  [ "$1" = --moving ] && moving=yes && shift
  rm -f "$work/before.png"
  await screen_drawn || fail "the screen did not change or did not settle for $1"
  cp "$work/next.png" "$out/$1.png"
  mv "$work/next.png" "$work/last.png"
}

# An unprivileged user's installer, whose home comes first in the list and
# who cannot install into /usr/local by a stray key.
mkdir -m 777 "$work/zoë-山田" "$work/open"
user=
[ "$(id -u)" = 0 ] && user="setpriv --reuid=65534 --regid=65534 --clear-groups --"
HOME="$work/zoë-山田" LANG=C.UTF-8 $user "$work/installer.bin" &
pid=$!
await_window_with_focus 'Zorvane 8 Installer'
shot page1-license
xdotool key Return
shot page2-destination
# the combo box's arrow, at the right end of the destination's frame
xdotool mousemove --window "$window" 459 46 click 1
shot page2-list
xdotool key Escape
xdotool key ctrl+slash
xdotool type "$work/missing/dir"
xdotool key Tab f
await_dialog
shot error-dialog
press_ok
xdotool key shift+Tab ctrl+slash
xdotool type "$work/open/to"
xdotool key Tab f
await test -d "$work/open/to" || fail "the unpack did not start"
shot --moving page3-progress
wait_limit=600
await installer_gone || fail "the install did not end"
echo "Screenshots in $out"
