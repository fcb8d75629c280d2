#!/bin/sh
# The wizard writes the preference file in place of a regular file of its
# own, never through anything else at its name: a link to a file (run as
# root, a link to the shadow file would overwrite it), a dangling link, a
# second name of a file, a FIFO (which must not hold the install up), a
# directory; as root, nothing into a home that another user could redirect.  Those stay as they were, and the install succeeds all the same.
# Runs on a display with a window manager (tests/with-x --wm).
. "$(dirname "$0")/lib.sh"

make_product "$work/product"
pack "$work/product" "$work/payload.tar.gz"
make_installer "$work/payload.tar.gz" "$work/installer"

# What the name and the file standing for the shadow file are now.
state() {
  stat -c '%F %s %y %h %i' "$name" "$work/shadow"
  cat "$work/shadow"
  [ -e "$work/made-through-a-link" ] && echo "a file was made through the dangling link"
}

# case|what is put at the preference file's name
n=0
while IFS='|' read -r case make; do
  n=$((n + 1))
  mkdir "$work/home$n"
  name=$work/home$n/.Telquist_AmbriumSDK_60
  printf 'root:$6$salt$hash:19000:0:99999:7:::\n' > "$work/shadow" && chmod 640 "$work/shadow"
  eval "$make"
  state > "$work/before"
  install_by_keys "$work" "product$n" env HOME="$work/home$n" "$work/installer"
  wait_installer
  [ "$status" = 0 ] && [ -x "$work/product$n/zorvane" ] ||
    fail "$case: the install failed, status $status: $(cat "$work/out")"
  if [ "$case" = "an old preference file" ]; then
    printf 'Bandwidth=10485800\nMaxBandwidth=10485800\n' | cmp -s - "$name" ||
      fail "$case: the file holds $(cat "$name")"
  else
    state | cmp -s "$work/before" - || fail "$case: changed: $(state | diff "$work/before" -)"
  fi
done <<'CASES'
an old preference file|echo "Bandwidth=1" > "$name"
a link to the shadow file|ln -s "$work/shadow" "$name"
a dangling link|ln -s "$work/made-through-a-link" "$name"
a second name of the shadow file|ln "$work/shadow" "$name"
a FIFO|mkfifo "$name"
a directory|mkdir "$name"
as root, a home that another user owns|chown 65534 "$work/home$n" 2>/dev/null || mkdir "$name"
CASES

finish
