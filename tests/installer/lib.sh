# Shared by the installer's shell tests.  Each test script is run as
#   sh SCRIPT IMAGE MKINSTALLER
# with the installer's executable image and the vendor tool; it prints one
# line per failed check and exits 1 if any failed.

IMAGE=$1
MKINSTALLER=$2
failures=0

work=$(mktemp -d /tmp/installer-test.XXXXXX)
chmod 755 "$work"     # reachable when a test drops to an unprivileged user
trap 'chmod -R u+rwx "$work" 2>/dev/null; rm -rf "$work"' EXIT

# Records a failed check.
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# Ends the script with the verdict.
finish() {
  [ "$failures" -eq 0 ] && echo "all checks passed" && exit 0
  echo "$failures checks failed"
  exit 1
}

# Writes a product tree into directory $1: the player, nested files, a name
# with blanks, a symbolic link, an empty directory, a private file.
make_product() {
  mkdir -p "$1/share/zorvane/skins" "$1/lib/empty"
  printf '#!/bin/sh\necho "zorvane $*"\n' > "$1/zorvane"
  chmod 755 "$1/zorvane"
  echo "readme" > "$1/README"
  head -c 300000 /dev/urandom > "$1/lib/codec.so"
  echo "a skin" > "$1/share/zorvane/skins/dark blue.skin"
  echo "secret" > "$1/share/zorvane/key"
  chmod 600 "$1/share/zorvane/key"
  ln -s skins/"dark blue.skin" "$1/share/zorvane/default.skin"
}

# Packs directory $1 into the gzip'd tar $2, members named ./zorvane and so on.
pack() {
  (cd "$1" && tar -cf - ./*) | gzip > "$2"
}

# Writes installer $3: image, payload file $1, then the trailer text $2.
assemble() {
  { cat "$IMAGE" "$1" && printf '%b' "$2"; } > "$3"
  chmod 755 "$3"
}

# Changes byte $2 (counted from 0) of file $1.
flip_byte() {
  byte=$(od -An -tu1 -j "$2" -N 1 "$1" | tr -d ' ')
  printf "$(printf '\\%03o' $(((byte + 1) % 256)))" |
    dd of="$1" bs=1 seek="$2" conv=notrunc 2>/dev/null
}

# Makes installer $2 from payload $1 with the vendor tool.
make_installer() {
  "$MKINSTALLER" create "$IMAGE" "$1" "$2" || fail "mkinstaller create $1"
}

# Runs a command, keeping its status in $status and its output in $work/out
# and $work/err.
run() {
  "$@" > "$work/out" 2> "$work/err"
  status=$?
}

# Checks that the last run ended with status $1 and wrote exactly $2 (printf
# %b escapes) on standard error and nothing on standard output.
expect() {
  [ "$status" = "$1" ] || fail "$case: status $status, not $1"
  printf '%b' "$2" > "$work/expected"
  cmp -s "$work/expected" "$work/err" || {
    fail "$case: standard error differs"
    echo "--- expected"; cat "$work/expected"; echo "--- got"; cat "$work/err"
  }
  [ -s "$work/out" ] && fail "$case: wrote on standard output: $(cat "$work/out")"
  return 0
}

# Checks that the last run ended with status $1 and that its standard error
# ends with $2 (printf %b escapes), after whatever gunzip and tar said.
expect_ending() {
  [ "$status" = "$1" ] || fail "$case: status $status, not $1"
  printf '%b' "$2" > "$work/expected"
  tail -c "$(wc -c < "$work/expected")" "$work/err" | cmp -s "$work/expected" - || {
    fail "$case: standard error does not end with the message"
    echo "--- expected"; cat "$work/expected"; echo "--- got"; cat "$work/err"
  }
  [ "$(grep -c -F "$(head -n 1 "$work/expected")" "$work/err")" = 1 ] ||
    fail "$case: not reported once"
  [ -s "$work/out" ] && fail "$case: wrote on standard output: $(cat "$work/out")"
  return 0
}

# Checks that the destination $1, made by an install that failed, is gone.
expect_gone() {
  { [ -e "$1" ] || [ -L "$1" ]; } && fail "$case: $1 was left behind: $(ls -A "$1")"
  return 0
}

# Lists a tree: every path under it with its type, mode, size and link target.
tree_listing() {
  (cd "$1" && find . -mindepth 1 -printf '%p %y %m %s %l\n' | LC_ALL=C sort)
}

# Checks that tree $1 is what `tar xf` of payload $2 (a tar archive, or
# one compressed by gzip or zstd) gives, byte for byte.
expect_unpacked() {
  rm -rf "$work/reference" && mkdir "$work/reference"
  (cd "$work/reference" && tar xf "$2")
  tree_listing "$work/reference" > "$work/reference.list"
  tree_listing "$1" > "$work/unpacked.list"
  cmp -s "$work/reference.list" "$work/unpacked.list" ||
    fail "$case: tree differs from tar xf: $(diff "$work/reference.list" "$work/unpacked.list")"
  diff -r --no-dereference "$work/reference" "$1" > /dev/null ||
    fail "$case: file contents differ from tar xf"
}

# Runs a command as nobody when we are root, so that permissions count.
as_user() {
  if [ "$(id -u)" = 0 ]; then
    setpriv --reuid=65534 --regid=65534 --clear-groups -- "$@"
  else
    "$@"
  fi
}

. "$(dirname "$0")/../wait-installer.sh"

# Starts the wizard, running command $3... in directory $1, on the display
# that tests/with-x gives, and installs into $2 as a user would: Accept, then
# the destination typed into the field, then Finish.  The window's id stays
# in $window.
install_by_keys() {
  directory=$1 destination=$2
  shift 2
  (cd "$directory" && exec "$@") > "$work/out" 2>&1 &
  pid=$!
  await_window_with_focus 'Zorvane 8 Installer' || return 1
  xdotool key Return shift+Tab ctrl+slash
  xdotool type --delay 20 "$destination"
  xdotool key Tab f
}

# Waits for path $1 to exist.
wait_for() {
  await test -e "$1" ||
    { fail "$case: $1 did not appear within $wait_limit s; its directory holds: $(ls -A "$(dirname "$1")" 2>&1)"; return 1; }
}

# The message for installer $1 whose payload is damaged.
msg_damaged() {
  printf '%s\\n' "The installer file $1 is damaged or incomplete (an interrupted download, perhaps); it holds no product that can be installed."
}

MSG_UNPACK='Installation failed.  Perhaps the destination directory is unwriteable or you\nare out of disk space?\n\n'
