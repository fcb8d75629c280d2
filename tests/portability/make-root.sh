#!/bin/sh
# Builds, once, a cached test root and prints its path: "bullseye" or
# "trixie" (a minimal Debian from the machine's configured package source)
# or "empty" (busybox's applets and nothing else; the installer is copied in
# by each test).  A root is rebuilt when missing or incomplete; a lock lets
# several tests ask for the same root at once.
set -eu

name=$1
[ "$(id -u)" = 0 ] || { echo "needs root: debootstrap"; exit 77; }
cache=${ZORVANE_TEST_ROOTS:-/var/cache/zorvane-test-roots}
root=$cache/$name
mkdir -p "$cache"

# The first Debian mirror the machine's apt configuration names.
configured_mirror() {
  for f in /etc/apt/sources.list.d/*.sources; do
    [ -f "$f" ] || continue
    awk '/^URIs:/ && $2 ~ /\/debian\/?$/ { print $2; exit }' "$f"
  done
  [ -f /etc/apt/sources.list ] &&
    awk '$1 == "deb" && $2 !~ /^\[/ && $2 ~ /\/debian\/?$/ { print $2; exit }
         $1 == "deb" && $2 ~ /^\[/ { for (i = 3; i <= NF; i++) if ($i ~ /\/debian\/?$/) { print $i; exit } }' \
        /etc/apt/sources.list
}

# Fills "$1" with a minimal Debian of suite "$2".
bootstrap_debian() {
  mirror=$(configured_mirror | head -n 1)
  [ -n "$mirror" ] || { echo "no Debian mirror in the apt configuration" >&2; exit 1; }
  debootstrap --variant=minbase --include=libx11-data "$2" "$1" "$mirror" \
      >"$1.log" 2>&1 || { tail -n 20 "$1.log" >&2; exit 1; }
  # what an installed system has: its own host names, and no resolver of
  # the build machine's, so that no test looks up a name beyond this machine
  printf '127.0.0.1\tlocalhost\n::1\tlocalhost ip6-localhost ip6-loopback\n' > "$1/etc/hosts"
  rm -f "$1/etc/resolv.conf"
}

# Fills "$1" with busybox's applets alone: no C library, no loader.
fill_empty_root() {
  mkdir -p "$1/bin" "$1/tmp"
  chmod 1777 "$1/tmp"
  cp /bin/busybox "$1/bin/busybox"
  for applet in sh gunzip tar env pwd; do
    ln -s busybox "$1/bin/$applet"
  done
}

exec 9>"$cache/.$name.lock"
flock 9
if [ ! -f "$root/.complete" ]; then
  rm -rf "$root" "$root.part" "$root.part.log"
  mkdir -p "$root.part"
  case $name in
    bullseye|trixie) bootstrap_debian "$root.part" "$name" ;;
    empty) fill_empty_root "$root.part" ;;
    *) echo "unknown root: $name" >&2; exit 2 ;;
  esac
  touch "$root.part/.complete"
  mv "$root.part" "$root"
  rm -f "$root.part.log"
fi
echo "$root"
