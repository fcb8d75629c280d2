#!/bin/sh
# The whole program on a display with mwm: the window's decorations and size,
# an install by keys into the first candidate and into a relative directory
# typed by hand, the player started with its path and "inst", the preference
# file, and Cancel's key.
#   usage: windowed-install.sh INSTALLER-IMAGE RECORD-PLAYER MKINSTALLER
set -u
image=$1 player=$2 mkinstaller=$3
. "$(dirname "$0")/lib.sh"

# Runs a command as an unprivileged user when we are root, so that the first
# candidate is the home directory and /usr/local stays untouched.
as_user() {
  if [ "$(id -u)" = 0 ]; then
    setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"
  else
    "$@"
  fi
}

mkdir -p "$work/product/share" "$work/home" "$work/rel"
cp "$player" "$work/product/zorvane" && chmod 755 "$work/product/zorvane"
echo "Zorvane 8" > "$work/product/share/readme"
(cd "$work/product" && tar -cf - .) | gzip > "$work/payload.tar.gz"
"$mkinstaller" create "$image" "$work/payload.tar.gz" "$work/installer.bin" >/dev/null ||
  { echo "FAIL: mkinstaller"; exit 1; }
chmod 777 "$work/home" "$work/rel"
export PLAYER_RECORD="$work/record"
touch "$PLAYER_RECORD" && chmod 666 "$PLAYER_RECORD"

# Starts the installer in the background and waits for its window.
start() {
  (cd "$1" && HOME="$work/home" as_user "$work/installer.bin") > "$work/out" 2>&1 &
  pid=$!
  window=$(xdotool search --sync --onlyvisible --limit 1 --name '^Zorvane 8 Installer$')
  sleep 0.5
}

. "$(dirname "$0")/../wait-installer.sh"

case="window"
start "$work/rel"
xprop -id "$window" _MOTIF_WM_HINTS | grep -q '= 0x2, [^,]*, 0x3a,' ||
  fail "$case: decoration hint is not 58: $(xprop -id "$window" _MOTIF_WM_HINTS)"
size=$(xwininfo -id "$window" | awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}')
[ "$size" = 489x350 ] || fail "$case: size is $size"
xdotool key c
wait_installer
[ "$status" = 0 ] || fail "$case: C ended with status $status"

case="install into the first candidate by keys"
start "$work/rel"
xdotool key Return
xdotool key f
wait_installer
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/out")"
dest="$work/home/Zorvane8"
printf 'arguments: 2\nargument 0: %s/zorvane\nargument 1: inst\nworking directory: %s\n' \
  "$dest" "$dest" | cmp -s - "$PLAYER_RECORD" || fail "$case: player record: $(cat "$PLAYER_RECORD")"
printf 'Bandwidth=10485800\nMaxBandwidth=10485800\n' | cmp -s - "$work/home/.Telquist_AmbriumSDK_60" ||
  fail "$case: preference file: $(cat "$work/home/.Telquist_AmbriumSDK_60")"
cmp -s "$work/product/share/readme" "$dest/share/readme" || fail "$case: product not unpacked"

case="install into a relative directory typed by hand"
: > "$PLAYER_RECORD"
start "$work/rel"
xdotool key Return
xdotool key shift+Tab ctrl+slash
xdotool type --delay 40 foo
xdotool key Tab f
wait_installer
[ "$status" = 0 ] || fail "$case: status $status: $(cat "$work/out")"
printf 'arguments: 2\nargument 0: foo/zorvane\nargument 1: inst\nworking directory: %s/rel/foo\n' \
  "$work" | cmp -s - "$PLAYER_RECORD" || fail "$case: player record: $(cat "$PLAYER_RECORD")"
[ -e "$work/rel/foo/foo" ] && fail "$case: unpacked into foo/foo"

verdict "all windowed install checks passed"
