# Shared by the scripts that drive the whole installer program with xdotool:
# an installer of a product whose player records how it was started, and the
# helpers that start the installer, find its windows and wait for its end.
# The script sets image, player and mkinstaller (the installer's image, the
# recording player and the vendor tool) before it sources this file.
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

mkdir -p "$work/product/share"
cp "$player" "$work/product/zorvane" && chmod 755 "$work/product/zorvane"
echo "Zorvane 8" > "$work/product/share/readme"
(cd "$work/product" && tar -cf - .) | gzip > "$work/payload.tar.gz"
"$mkinstaller" create "$image" "$work/payload.tar.gz" "$work/installer.bin" >/dev/null ||
  { echo "FAIL: mkinstaller"; exit 1; }
export PLAYER_RECORD="$work/record"
touch "$PLAYER_RECORD" && chmod 666 "$PLAYER_RECORD"

# Waits for a visible window titled exactly $1 and prints its id (a wait
# that runs out is reported on the standard error stream).
find_window() {
  await_window "$1" >&2 && echo "$found"
}

# Starts the installer in the background in directory $1 with HOME $2 and
# the options that follow, and waits for its window to take the focus.
start() {
  (cd "$1" && export HOME="$2" && shift 2 && as_user "$work/installer.bin" "$@") > "$work/out" 2>&1 &
  pid=$!
  await_window_with_focus 'Zorvane 8 Installer'
}

# Waits for the installer to end (wait_installer) and for its window to
# leave the server, which may show it a moment longer: the next start must
# not find it.
installer_ended() {
  wait_installer
  await_gone "$window"
}

# Checks that the player was started from directory $1 as $1/zorvane.
expect_player_in() {
  printf 'arguments: 2\nargument 0: %s/zorvane\nargument 1: inst\nworking directory: %s\n' \
    "$1" "$1" | cmp -s - "$PLAYER_RECORD" || fail "$case: player record: $(cat "$PLAYER_RECORD")"
  : > "$PLAYER_RECORD"
}
