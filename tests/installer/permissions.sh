#!/bin/sh
# The checks on the installer's own file and on the destination as a user
# without privileges (nobody), and the probe file's mode.  Needs root, to
# become nobody and to trace the installer; skipped (77) otherwise.
. "$(dirname "$0")/lib.sh"
unset DISPLAY

if [ "$(id -u)" != 0 ]; then
  echo "needs root to run as nobody"
  exit 77
fi

# Runs a command as nobody.
as_nobody() {
  setpriv --reuid=65534 --regid=65534 --clear-groups "$@"
}

make_product "$work/product"
pack "$work/product" "$work/payload.tar.gz"
make_installer "$work/payload.tar.gz" "$work/installer"
mkdir "$work/open" && chmod 777 "$work/open"

case="installer that can be run but not read"
cp "$work/installer" "$work/exec-only" && chmod 711 "$work/exec-only"
run as_nobody "$work/exec-only" -s "$work/open/exec-only"
expect 1 "unable to read $work/exec-only.  Please do chmod 0500 $work/exec-only and try again\n\n"
[ -e "$work/open/exec-only" ] && fail "$case: the destination was made"

case="destination in a directory nobody may not write"
mkdir "$work/closed" && chmod 755 "$work/closed"
run as_nobody "$work/installer" -s "$work/closed/product"
expect 1 "Can not make directory $work/closed/product\n"

case="destination made but not writable (umask 0222)"
run as_nobody sh -c 'umask 0222; exec "$0" -s "$1"' "$work/installer" "$work/open/read-only"
expect 1 "Can not write to directory $work/open/read-only\n"
[ -d "$work/open/read-only" ] || fail "$case: the new directory was removed"
[ -z "$(ls -A "$work/open/read-only")" ] || fail "$case: the new directory is not empty"

case="existing destination nobody may not write"
run as_nobody "$work/installer" -s "$work/closed"
expect 1 "You do not have write permission for the destination directory.\n"
[ -z "$(ls -A "$work/closed")" ] || fail "$case: something was unpacked"

case="writable destination with a directory of the product nobody may not write"
mkdir -p "$work/open/partly/share" && chmod 777 "$work/open/partly"
run as_nobody "$work/installer" -s "$work/open/partly"
expect_ending 1 "$MSG_UNPACK"

case="install as nobody"
run as_nobody "$work/installer" -s "$work/open/mine"
expect 0 ''
expect_unpacked "$work/open/mine" "$work/payload.tar.gz"
owners=$(find "$work/open/mine" -printf '%u\n' | sort -u)
[ "$owners" = nobody ] || fail "$case: files owned by $owners"

case="the probe file is private"
strace -f -e trace=openat -o "$work/trace" "$work/installer" -s "$work/probed" > /dev/null 2>&1
grep -q "\"$work/probed/test\", O_WRONLY|O_CREAT|O_CLOEXEC, 0600)" "$work/trace" ||
  fail "$case: $(grep '/test"' "$work/trace")"

finish
