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

# A product slow enough to unpack that the progress page can be caught.
mkdir -p "$work/product/share"
printf '#!/bin/sh\nexit 0\n' > "$work/product/zorvane" && chmod 755 "$work/product/zorvane"
head -c 400000000 /dev/urandom > "$work/product/share/media.bin"
(cd "$work/product" && tar -cf - .) | gzip -1 > "$work/payload.tar.gz"
"$build/mkinstaller" create "$build/zorvane-installer" "$work/payload.tar.gz" \
  "$work/installer.bin" > /dev/null

# The whole screen, on which the window is centred.
shot() {
  sleep 0.5
  import -window root "$out/$1.png"
}

# An unprivileged user's installer, whose home comes first in the list and
# who cannot install into /usr/local by a stray key.
mkdir -m 777 "$work/zoë-山田" "$work/open"
user=
[ "$(id -u)" = 0 ] && user="setpriv --reuid=65534 --regid=65534 --clear-groups --"
HOME="$work/zoë-山田" LANG=C.UTF-8 $user "$work/installer.bin" &
window=$(xdotool search --sync --onlyvisible --limit 1 --name '^Zorvane 8 Installer$')
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
shot error-dialog
xdotool key Return
sleep 0.3
xdotool key shift+Tab ctrl+slash
xdotool type "$work/open/to"
xdotool key Tab f
sleep 1
shot page3-progress
wait
echo "Screenshots in $out"
