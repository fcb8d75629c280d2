#!/bin/sh
# A failed or cancelled install takes away the destination that it made, and
# only that: Cancel, or a signal that ends the installer, stops gunzip and
# tar first, the removal follows no link out of the tree and enters no other
# mount, and an existing destination keeps all it holds and all that was
# unpacked into it.  Runs on a display
# with a window manager (tests/with-x --wm).
. "$(dirname "$0")/lib.sh"
trap 'umount "$work/mounted/share/zorvane/skins" 2>/dev/null; chmod -R u+rwx "$work"; rm -rf "$work"' EXIT

# A product of 2.3 MB that does not compress, with a link out of the tree
# and a directory that the unpack makes read-only; share/ comes first.
make_product "$work/product"
head -c 2000000 /dev/urandom > "$work/product/lib/large.bin"
mkdir -m 777 "$work/outside" "$work/open"
echo "keep" > "$work/outside/precious" && chmod 666 "$work/outside/precious"
ln -s "$work/outside" "$work/product/share/escape"
chmod 555 "$work/product/lib"
(cd "$work/product" && tar -cf - ./share ./README ./lib ./zorvane) | gzip > "$work/payload.tar.gz"
length=$(wc -c < "$work/payload.tar.gz")
make_installer "$work/payload.tar.gz" "$work/installer"
gzip -dc "$work/payload.tar.gz" | zstd -q -c > "$work/payload.tar.zst"
make_installer "$work/payload.tar.zst" "$work/zstd-installer"
cp "$work/payload.tar.gz" "$work/bad-crc.tar.gz"
flip_byte "$work/bad-crc.tar.gz" $((length - 8))
assemble "$work/bad-crc.tar.gz" "\\n$length\\n" "$work/broken"

# gunzip and tar first on the search path.  The slow gunzip takes its input
# in pieces of 8 KB a tenth of a second apart, and so does the slow tar, for
# the zstd payload that the installer decodes itself; the gated gunzip ends
# only once $work/go exists, or after a minute without.  Both gunzips and
# both tars note their process ids.
mkdir "$work/slow" "$work/gated" "$work/slow-tar"
real_gunzip=$(command -v gunzip)
cat > "$work/slow/gunzip" <<EOF
#!/bin/sh
echo \$\$ > "$work/gunzip.pid"
perl -e '\$| = 1; while (read STDIN, \$piece, 8192) { print \$piece; select undef, undef, undef, 0.1 }' |
  $real_gunzip
EOF
printf '#!/bin/sh\n%s\nstatus=$?\ntries=0\nuntil [ -e "%s/go" ] || [ $tries = 600 ]; do sleep 0.1; tries=$((tries + 1)); done\nexit $status\n' \
  "$real_gunzip" "$work" > "$work/gated/gunzip"
printf '#!/bin/sh\necho $$ > "%s/tar.pid"\nexec %s "$@"\n' "$work" "$(command -v tar)" > "$work/slow/tar"
cat > "$work/slow-tar/tar" <<EOF
#!/bin/sh
echo \$\$ > "$work/tar.pid"
mkfifo "$work/fifo.\$\$"
exec 3<&0
perl -e '\$| = 1; while (read STDIN, \$piece, 8192) { print \$piece; select undef, undef, undef, 0.1 }' \\
  <&3 > "$work/fifo.\$\$" &
exec $(command -v tar) "\$@" < "$work/fifo.\$\$" 3<&-
EOF
chmod 755 "$work/slow/gunzip" "$work/slow/tar" "$work/gated/gunzip" "$work/slow-tar/tar"

case="corrupt payload: the tree goes, the link's target keeps its file"
run as_user "$work/broken" -s "$work/open/new"
expect_ending 1 "$(msg_damaged "$work/broken")"
expect_gone "$work/open/new"
[ "$(cat "$work/outside/precious")" = keep ] || fail "$case: the link's target lost its file"

case="corrupt payload into an existing destination"
mkdir -m 777 "$work/open/existing" && echo "mine" > "$work/open/existing/mine"
run as_user "$work/broken" -s "$work/open/existing"
expect_ending 1 "$(msg_damaged "$work/broken")"
[ "$(cat "$work/open/existing/mine")" = mine ] || fail "$case: the destination's own file went"
[ "$(stat -c %a "$work/open/existing/lib")" = 555 ] || fail "$case: what was unpacked went"

# Whether this process may bind-mount (root, outside a confined container).
can_mount() {
  mkdir "$work/probe" && mount --bind "$work/outside" "$work/probe" 2>/dev/null &&
    umount "$work/probe"
}

if can_mount; then
  case="corrupt payload with a bind mount in the tree: the mount is not entered"
  (cd "$work" && PATH="$work/gated:$PATH" exec "$work/broken" -s mounted > "$work/out" 2>&1) &
  pid=$!
  wait_for "$work/mounted/share/zorvane/skins/dark blue.skin"
  mount --bind "$work/outside" "$work/mounted/share/zorvane/skins"
  touch "$work/go"
  wait_installer
  [ "$status" = 0 ] && fail "$case: the install succeeded"
  [ "$(cat "$work/outside/precious")" = keep ] || fail "$case: the mount's file went"
  umount "$work/mounted/share/zorvane/skins"
  left=$(cd "$work/mounted" && find . -type f)
  [ "$left" = "./share/zorvane/skins/dark blue.skin" ] || fail "$case: left behind: $left"
fi

case="the wizard: corrupt payload"
install_by_keys "$work" broken-windowed "$work/broken"
await_dialog
expect_gone "$work/broken-windowed"
press_ok && xdotool key c
wait_installer
[ "$status" = 0 ] || fail "$case: status $status"

# A slow unpack ended by the wizard's Cancel key or by a signal to a silent
# install: case|installer|slow programs|destination|what it held before|c or
# the signal|status.
while IFS='|' read -r case installer slow destination held stop expected; do
  [ -n "$held" ] && mkdir "$work/$destination" && echo "$held" > "$work/$destination/$held"
  rm -f "$work/gunzip.pid" "$work/tar.pid"
  if [ "$stop" = c ]; then
    install_by_keys "$work" "$destination" env PATH="$work/$slow:$PATH" "$work/$installer"
  else
    (cd "$work" && PATH="$work/$slow:$PATH" exec "$work/$installer" -s "$destination") \
      > "$work/out" 2>&1 &
    pid=$!
  fi
  wait_for "$work/$destination/README" && if [ "$stop" = c ]; then
    xdotool key c
  else
    kill -"$stop" "$pid"
  fi
  wait_installer
  [ "$status" = "$expected" ] || fail "$case: status $status: $(cat "$work/out")"
  for program in gunzip tar; do
    [ -f "$work/$program.pid" ] && kill -0 "$(cat "$work/$program.pid")" 2>/dev/null &&
      fail "$case: $program still runs"
  done
  if [ -z "$held" ]; then
    expect_gone "$work/$destination"
  else
    [ -e "$work/$destination/$held" ] && [ -e "$work/$destination/README" ] ||
      fail "$case: the destination holds $(ls "$work/$destination")"
  fi
done <<'ENDINGS'
the wizard: Cancel into a new destination|installer|slow|new||c|0
the wizard: Cancel into an existing destination|installer|slow|kept|mine|c|0
silent: killed|installer|slow|killed||TERM|143
silent: hung up, into an existing destination|installer|slow|hung-up|mine|HUP|129
the wizard: Cancel a zstd unpack into a new destination|zstd-installer|slow-tar|new-zstd||c|0
silent: zstd unpack killed, into an existing destination|zstd-installer|slow-tar|killed-zstd|mine|TERM|143
ENDINGS

finish
