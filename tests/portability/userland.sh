#!/bin/sh
# The installer in another userland: a cached root (make-root.sh NAME), in a
# private mount namespace, entered with chroot, the display's socket
# directory bound in.  A silent install of a product owned by a stranger
# (names, types, modes, sizes, links; root's files; a kept destination),
# --check, --list and --help as on this machine, and the wizard driven by
# keys as an unprivileged user with a non-ASCII home, and without HOME; in
# the Debian roots also a display named localhost:N.  Run under
# tests/with-x --wm --tcp, as root.
#   usage: userland.sh NAME INSTALLER-IMAGE MKINSTALLER
set -u
name=$1 image=$2 mkinstaller=$3
[ "$(id -u)" = 0 ] || { echo "needs root: unshare and chroot"; exit 77; }
if [ -z "${IN_PRIVATE_MOUNTS:-}" ]; then
  root=$(sh "$(dirname "$0")/make-root.sh" "$name") || exit 1
  IN_PRIVATE_MOUNTS=1 exec unshare -m --propagation private sh "$0" "$@" "$root"
fi
root=$4
chroot=$(command -v chroot || echo /usr/sbin/chroot)
umask 022
failures=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Records a failed check.
fail() { echo "FAIL: $name: $*"; failures=$((failures + 1)); }

# Runs a command in the root with only the environment given before "--".
in_root() {
  environment=
  while [ "$1" != -- ]; do environment="$environment $1"; shift; done
  shift
  # shellcheck disable=SC2086
  env -i PATH=/usr/bin:/bin $environment "$chroot" "$@"
}

# Prints the tree under $1 as lines of path, type, mode, size of a file and
# target of a link, sorted.
tree_of() {
  (cd "$1" && find . -mindepth 1 -printf '%p %y %m %l|%s\n') |
    awk -F'|' '{ print ($1 ~ / f [0-9]+ $/) ? $0 : $1 }' | LC_ALL=C sort
}

# The product: a player that records its start, a UTF-8 name, a link to it,
# a private file and a deep one; packed with a stranger as owner and the
# top directory open to all, as a careless vendor might.
mkdir -p "$work/product/share/a/b/c/d/e"
printf '#!/bin/sh\necho "$0 $* $(pwd)" > /tmp/player-record\n' > "$work/product/zorvane"
chmod 755 "$work/product/zorvane"
echo "deep" > "$work/product/share/a/b/c/d/e/deep"
echo "named" > "$work/product/share/Zorvané ünï"
ln -s "Zorvané ünï" "$work/product/share/link"
echo "private" > "$work/product/share/private" && chmod 600 "$work/product/share/private"
chmod 777 "$work/product"
tar -C "$work/product" --owner=4321 --group=4321 --numeric-owner -cf - . | gzip > "$work/payload.tgz"
chmod 755 "$work/product"
"$mkinstaller" create "$image" "$work/payload.tgz" "$work/installer.bin" >/dev/null || exit 1
expected_tree=$(tree_of "$work/product")

mount -t tmpfs -o mode=1777 tmpfs "$root/tmp" || exit 1
mkdir "$root/tmp/.X11-unix" && mount --bind /tmp/.X11-unix "$root/tmp/.X11-unix" || exit 1
cp "$work/installer.bin" "$root/tmp/installer.bin"

# Silent installs: a new destination, and one that exists with its own
# group and mode (root installs only where no other user could redirect it).
mkdir "$root/tmp/kept" && chown 0:1234 "$root/tmp/kept" && chmod 750 "$root/tmp/kept"
for destination in /tmp/new /tmp/kept; do
  output=$(in_root LANG=C.UTF-8 -- "$root" /tmp/installer.bin -s $destination 2>&1) ||
    fail "-s $destination: $output"
  [ "$(tree_of "$root$destination")" = "$expected_tree" ] ||
    fail "-s $destination: the tree differs: $(tree_of "$root$destination")"
  strangers=$(find "$root$destination" -mindepth 1 ! -user 0 -o -mindepth 1 ! -group 0)
  [ -z "$strangers" ] || fail "-s $destination: not root's: $strangers"
done
[ "$(stat -c '%u:%g %a' "$root/tmp/kept")" = "0:1234 750" ] ||
  fail "the kept destination became $(stat -c '%u:%g %a' "$root/tmp/kept")"

# The options that need no display give what they give on this machine;
# busybox's tar lists in its own columns, so there only the fields count.
for option in --check --list --help; do
  here=$(cd "$work" && LANG=C.UTF-8 ./installer.bin $option 2>&1; echo "status $?")
  there=$(in_root LANG=C.UTF-8 -- "$root" sh -c "cd /tmp && ./installer.bin $option 2>&1; echo status \$?")
  if [ "$name" = empty ] && [ $option = --list ]; then
    columns='s/ +/ /g; s/ ([0-9]{2}:[0-9]{2}):[0-9]{2} / \1 /'
    here=$(printf '%s\n' "$here" | sed -E "$columns")
    there=$(printf '%s\n' "$there" | sed -E "$columns")
  fi
  [ "$here" = "$there" ] || fail "$option gives
$there
instead of
$here"
done

# Waits up to 10 seconds for the wizard's window; false when none shows.
window_shows() {
  tries=0
  until xdotool search --onlyvisible --name '^Zorvane 8 Installer$' >/dev/null 2>&1; do
    tries=$((tries + 1))
    [ $tries -lt 100 ] || return 1
    sleep 0.1
  done
  sleep 0.5
}

# Starts the wizard as nobody in the root with the environment given, and
# presses the keys given once its window shows; false when none shows.
# Waits up to 20 seconds for the installer or its player to end.
run_wizard() {
  keys=$1
  shift
  in_root "$@" -- --userspec=65534:65534 "$root" /tmp/installer.bin > "$work/wizard.out" 2>&1 &
  pid=$!
  window_shows || { kill $pid 2>/dev/null; wait $pid; return 1; }
  for key in $keys; do xdotool key "$key"; sleep 0.3; done
  tries=0
  while kill -0 $pid 2>/dev/null && [ $tries -lt 200 ]; do sleep 0.1; tries=$((tries + 1)); done
  kill $pid 2>/dev/null && { wait $pid; fail "the wizard did not end: $(cat "$work/wizard.out")"; }
  wait $pid
  return 0
}

home="/tmp/hōme"
mkdir "$root$home" && chown 65534:65534 "$root$home"
if run_wizard "Return Return" DISPLAY="$DISPLAY" HOME="$home" LANG=C.UTF-8; then
  [ "$(cat "$root/tmp/player-record" 2>/dev/null)" = "$home/Zorvane8/zorvane inst $home/Zorvane8" ] ||
    fail "Return, Return did not start the player in $home/Zorvane8: $(cat "$work/wizard.out")"
  [ "$(tree_of "$root$home/Zorvane8")" = "$expected_tree" ] || fail "the wizard's tree differs"
else
  fail "no window in $home: $(cat "$work/wizard.out")"
fi

# Without HOME, and on a display named by host, the user and the host are
# looked up; in the Debian roots through nsswitch.conf's modules of the
# root's own C library, which a static program must not load.
if [ "$name" != empty ]; then
  printf 'passwd: compat\ngroup: compat\nhosts: files myhostname dns\n' > "$work/nsswitch.conf"
  mount --bind "$work/nsswitch.conf" "$root/etc/nsswitch.conf"
  run_wizard "c" DISPLAY="localhost$DISPLAY" HOME="$home" ||
    fail "no window on localhost$DISPLAY: $(cat "$work/wizard.out")"
fi
run_wizard "c" DISPLAY="$DISPLAY" || fail "no window without HOME: $(cat "$work/wizard.out")"

[ $failures = 0 ] || { echo "$failures checks failed in $name"; exit 1; }
echo "all checks passed in $name"
