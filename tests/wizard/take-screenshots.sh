#!/bin/sh
# Takes screenshots of the three pages and of the error dialog, for a person
# to look at: run as  tests/with-x --wm tests/wizard/take-screenshots.sh
# The pictures land in ./screenshots (kept out of git).
#   usage: take-screenshots.sh [BUILD_DIR]
set -eu
build=${1:-build}
out=$PWD/screenshots
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A product slow enough to unpack that the progress page can be caught.
mkdir -p "$work/product/share"
printf '#!/bin/sh\nexit 0\n' > "$work/product/zorvane" && chmod 755 "$work/product/zorvane"
head -c 400000000 /dev/urandom > "$work/product/share/media.bin"
(cd "$work/product" && tar -cf - .) | gzip -1 > "$work/payload.tar.gz"
"$build/mkinstaller" create "$build/zorvane-installer" "$work/payload.tar.gz" \
  "$work/installer.bin" > /dev/null

shot() {
  sleep 0.5
  import -window root -crop 540x410+0+0 "$out/$1.png"
}

"$work/installer.bin" &
xdotool search --sync --onlyvisible --name '^Zorvane 8 Installer$' > /dev/null
shot page1-license
xdotool key Return
shot page2-destination
xdotool key shift+Tab ctrl+slash
xdotool type "$work/missing/dir"
xdotool key Tab f
shot error-dialog
xdotool key Return
sleep 0.3
xdotool key shift+Tab ctrl+slash
xdotool type "$work/to"
xdotool key Tab f
sleep 1
shot page3-progress
wait
echo "Screenshots in $out"
