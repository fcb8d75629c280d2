#!/bin/sh
# As root the installer refuses a destination that another user could
# redirect: a path through a directory that user owns or that others may
# write, or through a link that user owns; root's own links are followed and
# judged alike, a sticky directory like /tmp is fine.  A new destination is
# never open to others, whatever the umask.  Needs root; skipped (77) otherwise.
. "$(dirname "$0")/lib.sh"
unset DISPLAY

if [ "$(id -u)" != 0 ]; then
  echo "needs root"
  exit 77
fi

make_product "$work/product"
pack "$work/product" "$work/payload.tar.gz"
make_installer "$work/payload.tar.gz" "$work/installer"
mkdir "$work/target" "$work/theirs" "$work/open" "$work/group" "$work/root-links"
mkdir -m 1777 "$work/sticky"
chown 65534:65534 "$work/theirs"
chmod 777 "$work/open" && chmod 775 "$work/group"
ln -s "$work/target" "$work/theirs/apps"                 # /home/other/apps -> /etc
ln -s "$work/target" "$work/root-links/their-link" && chown -h 65534 "$work/root-links/their-link"
ln -s ../open "$work/root-links/to-open"                  # root's link into an open directory
ln -s ../target "$work/root-links/to-target"
mkdir "$work/sticky/theirs" && chown 65534 "$work/sticky/theirs"

# case|directory to run in|destination|component named|why, or "installs"
while IFS='|' read -r case directory destination component why; do
  rm -rf "$work/target/"* "$work/made"
  (cd "$directory" && run "$work/installer" -s "$destination" && echo "$status" > "$work/status")
  status=$(cat "$work/status")
  if [ "$why" = installs ]; then
    expect 0 ''
    [ -x "$destination/zorvane" ] || fail "$case: not installed"
    continue
  fi
  expect 1 "As root, the installer does not install into $destination: its path passes through $component, $why, so another user could send the product elsewhere; nothing was installed.\n"
  [ -n "$(ls -A "$work/target")" ] && fail "$case: installed where the link points"
done <<CASES
a link in a directory another user owns|/|$work/theirs/apps/Zorvane8|$work/theirs|a directory that another user owns
a link another user owns|/|$work/root-links/their-link/Zorvane8|$work/root-links/their-link|a symbolic link that another user owns
an existing destination another user owns|/|$work/theirs|$work/theirs|a directory that another user owns
a directory others may write|/|$work/open/Zorvane8|$work/open|a directory that other users may write
a directory its group may write|/|$work/group/Zorvane8|$work/group|a directory that other users may write
root's link into a directory others may write|/|$work/root-links/to-open/Zorvane8|$work/open|a directory that other users may write
a relative destination from a directory others may write|$work/open|Zorvane8|$work/open|a directory that other users may write
a directory another user owns in a sticky one|/|$work/sticky/theirs/Zorvane8|$work/sticky/theirs|a directory that another user owns
root's link to root's directory|/|$work/root-links/to-target/Zorvane8|-|installs
a new directory in a sticky one|/|$work/sticky/Zorvane8|-|installs
CASES

case="a new destination under umask 000 is open to no one else"
run sh -c 'umask 000; exec "$0" -s "$1"' "$work/installer" "$work/made"
expect 0 ''
[ "$(stat -c %a "$work/made")" = 755 ] || fail "$case: mode $(stat -c %a "$work/made")"

finish
